// The test build's high-contrast setting: whatever the test sets.
#include "tests/win/hicontrast_fake.h"

bool fakeHighContrast = false;

bool highContrastOn()
{
    return fakeHighContrast;
}
