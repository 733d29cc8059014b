// The play cycle: everything a run request sets off. Every path through it
// ends with exactly one start of the front-end.
#include "launcher/launcher.h"

void copybrak()
{
    if (preparePlay() && installGame())
        playGame();
    startDemo();
}
