// Removing the demo tree.
#include "launcher/launcher.h"

// Placeholder until the removal lands.
void killbrak()
{
}
