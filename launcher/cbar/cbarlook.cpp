// The bar's colours and reported position.
#include "launcher/cbar/cbarlook.h"

namespace {
constexpr CBarColour rgb(unsigned r, unsigned g, unsigned b)
{
    return r | g << 8 | b << 16;
}
}  // namespace

CBarColours cbarColours(bool highContrast, const CBarSystemColours& sys)
{
    if (!highContrast) {
        const CBarColour black = rgb(0, 0, 0), white = rgb(255, 255, 255),
                         gray = rgb(128, 128, 128), light = rgb(192, 192, 192);
        return {light, black, white, gray, light, black, black};
    }
    // The player's colours are chosen to stand apart: a bevel in shades of one of
    // them would not, so the filled part is flat.
    return {sys.window,    sys.windowText,    sys.highlight, sys.highlight,
            sys.highlight, sys.highlightText, sys.windowText};
}

int cbarPosition(int percent)
{
    return percent < 0 ? 0 : percent > 100 ? 100 : percent;
}
