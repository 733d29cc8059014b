// Placeholder until the completion bar lands: no dialog, nothing shown.
#include "launcher/cbar/dlgcbar.h"

void OpenCompletionBar(const char*) {}
void SetCompletionBar(int) {}
void SetCompletionBarBumps(int) {}
void BumpCompletionBar() {}
void CloseCompletionBar() {}
