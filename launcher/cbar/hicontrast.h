// Whether the player has high contrast on. A link seam: the programs link
// hicontrast.cpp, the tests a version they switch.
#pragma once

bool highContrastOn();
