// The control message: the only thing the launcher and the relay share.
#pragma once

#define BRAK_CTLMSG_NAME "Brakkon2Demo"

enum {
    BRAK_CODE_QUIT = 0,  // the launcher ends once the front-end has gone
    BRAK_CODE_RUN = 1    // the launcher runs one play cycle
};
