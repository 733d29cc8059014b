// The install copy with byte-driven progress.
#include "launcher/launcher.h"

// Placeholder until the install lands.
bool installGame()
{
    return false;
}
