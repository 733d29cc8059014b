// Finds a completion bar on the screen and checks a picture of it against what the
// bar's geometry says it must hold, for the pictures scripts/demo and scripts/cbar-shot take.
//   cbar_peek where TITLE         the bar of the dialog captioned TITLE as "x y w h" on the
//                                 screen; asks the bar nothing, so its process may be stopped
//   cbar_peek check PPM [hc]      "shows P%" (or "shows LO..HI%") when every pixel of the
//                                 binary PPM (the bar's client area) outside the centred
//                                 text is the bar's painting at that percent, with the
//                                 fixed colours or (hc) the pictures' high-contrast ones;
//                                 else exits with 1, naming the closest percent
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "launcher/cbar/cbargeom.h"
#include "launcher/cbar/cbarlook.h"
#include "launcher/cbar/cbarres.h"
#include "tools/cbar-shot/shotscheme.h"

namespace {
int where(const char* title)
{
    HWND dlg = FindWindowA("bordlg", title);
    HWND bar = dlg ? GetDlgItem(dlg, IDC_CBAR) : nullptr;
    RECT rc;
    if (!bar || !GetClientRect(bar, &rc)) {
        std::fprintf(stderr, "cbar_peek: no bar titled \"%s\"\n", title);
        return 1;
    }
    MapWindowPoints(bar, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

bool inside(const CBarRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The colour the bar paints at x, y: the last of its rectangles over the pixel.
CBarColour painted(const CBarFills& f, const CBarColours& c, int x, int y)
{
    if (inside(f.face, x, y))
        return c.face;
    if (inside(f.shadow, x, y))
        return c.shadow;
    if (inside(f.highlight, x, y))
        return c.highlight;
    if (inside(f.outline, x, y))
        return c.outline;
    return c.back;
}

// Pixels that differ from the bar at percent, the anti-aliased text left out.
int wrongPixels(const std::vector<CBarColour>& px, int w, int h, int percent, const CBarColours& c)
{
    const CBarFills f = cbarFills(w, h, percent);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool text = x >= w / 2 - 24 && x < w / 2 + 24 && y >= h / 2 - 8 && y <= h / 2 + 8;
            wrong += !text && px[y * w + x] != painted(f, c, x, y);
        }
    return wrong;
}

int check(const char* path, bool hc)
{
    FILE* in = std::fopen(path, "rb");
    int w = 0, h = 0, max = 0;
    char magic[3] = "";
    if (!in || std::fscanf(in, "%2s %d %d %d", magic, &w, &h, &max) != 4 ||
        std::strcmp(magic, "P6") != 0 || max != 255 || w < 20 || h < 12 || w > 4096 ||
        h > 4096 || std::fgetc(in) == EOF) {
        std::fprintf(stderr, "cbar_peek: %s is no picture of a bar\n", path);
        return 2;
    }
    std::vector<unsigned char> raw(3u * w * h);
    const bool whole = std::fread(raw.data(), 1, raw.size(), in) == raw.size();
    std::fclose(in);
    if (!whole)
        return 2;
    std::vector<CBarColour> px(w * h);
    for (int i = 0; i < w * h; ++i)
        px[i] = raw[3 * i] | raw[3 * i + 1] << 8 | raw[3 * i + 2] << 16;

    const CBarColours c = cbarColours(hc, kShotScheme);
    int lo = -1, hi = -1, best = 0, fewest = w * h + 1;
    for (int p = 0; p <= 100; ++p) {
        const int wrong = wrongPixels(px, w, h, p, c);
        if (wrong == 0) {
            lo = lo < 0 ? p : lo;
            hi = p;
        }
        if (wrong < fewest) {
            fewest = wrong;
            best = p;
        }
    }
    if (lo < 0) {
        std::printf("no bar: %d of %d pixels differ from the closest, %d%%\n", fewest, w * h, best);
        return 1;
    }
    if (lo == hi)
        std::printf("shows %d%%\n", lo);
    else
        std::printf("shows %d..%d%%\n", lo, hi);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "where") == 0)
        return where(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "check") == 0)
        return check(argv[2], argc >= 4 && std::strcmp(argv[3], "hc") == 0);
    std::fprintf(stderr, "usage: cbar_peek where TITLE | check PPM [hc]\n");
    return 2;
}
