// Resource identifiers of the sample programs.
#pragma once

#define IDD_MENU 100
#define IDD_GAME 101
#define IDD_REGISTER 102

#define IDC_PLAY 1001
#define IDC_QUIT 1002
#define IDC_RESULT 1003
