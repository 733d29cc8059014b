// The play cycle: everything a run request sets off. It grows here step by step.
#include "launcher/launcher.h"

char dir0[PATH_BUF];
char dir1[PATH_BUF];
char dir2[PATH_BUF];
char dir3[PATH_BUF];

void copybrak()
{
    startDemo();
}
