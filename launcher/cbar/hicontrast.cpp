// The player's high-contrast setting, as the system reports it.
#include "launcher/cbar/hicontrast.h"

#include <windows.h>

bool highContrastOn()
{
    HIGHCONTRASTA hc = {};
    hc.cbSize = sizeof hc;
    // Refused where the accessibility options were never installed: off.
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON);
}
