// Resource and child identifiers of the completion-bar dialog (C and .rc alike).
#pragma once

#define IDD_CBAR 1000      // the dialog template
#define IDC_CBARPLACE 500  // the template's placeholder for the bar
#define IDC_CBAR 600       // the bar control made in its place
