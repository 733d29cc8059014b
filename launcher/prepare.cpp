// Memory and disk checks, the temporary directory and the demo tree.
#include "launcher/launcher.h"

char dir0[PATH_BUF];
char dir1[PATH_BUF];
char dir2[PATH_BUF];
char dir3[PATH_BUF];

// Placeholder until the checks land: no tree, the cycle only restarts the front-end.
bool preparePlay()
{
    return false;
}
