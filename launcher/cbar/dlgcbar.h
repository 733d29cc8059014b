// The completion bar: a small modeless progress dialog and its five procedures.
#pragma once

// Open a new bar with this title, replacing any open one.
void OpenCompletionBar(const char* title);
// Show this percentage (not clamped), opening a default-titled bar if none is open.
void SetCompletionBar(int percent);
// Count in bumps from now on, nobumps of them making 100; shows 0.
void SetCompletionBarBumps(int nobumps);
// Advance one bump.
void BumpCompletionBar();
// Close the bar; harmless when none is open.
void CloseCompletionBar();
