// The play cycle: everything a run request sets off. Every path through it
// ends with exactly one start of the front-end, unless the launcher was asked
// to close meanwhile.
#include "launcher/launcher.h"

void copybrak()
{
    if (preparePlay() && installGame())
        playGame();
    // The cycle still cleans up and runs the follow-up, but a closed launcher
    // would leave a new menu with nobody to answer its Play button.
    takePendingClose();
    if (!LauncherClosed)
        startDemo();
}
