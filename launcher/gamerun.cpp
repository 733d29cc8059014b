// Running the game and the follow-up program.
#include "launcher/launcher.h"

// Placeholder until the game run lands.
void playGame()
{
}
