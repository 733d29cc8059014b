// The bar's rectangles for any client size and any percent: no undefined
// behaviour (UBSan), none inverted, the back exactly the client area, each
// bevel inside the one before it, and, for the 0 to 100 the system sends,
// every rectangle inside the client area or empty. Above 100 the filled part
// may reach past the right edge, where the window's clip cuts it.
#include "launcher/cbar/cbargeom.h"
#include "tests/fuzz/fuzzinput.h"

namespace {
bool empty(const CBarRect& r) { return r.left >= r.right || r.top >= r.bottom; }

bool wellFormed(const CBarRect& r) { return r.left <= r.right && r.top <= r.bottom; }

bool inside(const CBarRect& r, const CBarRect& outer)
{
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
           r.bottom <= outer.bottom;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int width = static_cast<int>(in.u32() & 0x7FFFFFFF);  // a client size is never negative
    const int height = static_cast<int>(in.u32() & 0x7FFFFFFF);
    const uint32_t p = in.u32();
    const int percent = p <= 0x7FFFFFFFu ? static_cast<int>(p) : -static_cast<int>(~p) - 1;

    const CBarFills f = cbarFills(width, height, percent);
    const CBarRect client = {0, 0, width, height};
    FUZZ_CHECK(f.back.left == 0 && f.back.top == 0 && f.back.right == width &&
               f.back.bottom == height);
    const CBarRect* const painted[] = {&f.outline, &f.highlight, &f.shadow, &f.face};
    for (int i = 0; i < 4; ++i) {
        const CBarRect& r = *painted[i];
        FUZZ_CHECK(wellFormed(r));
        FUZZ_CHECK(r.left >= 0 && r.top >= 0 && (empty(r) || r.bottom <= height));
        if (i > 0 && !empty(r))
            FUZZ_CHECK(inside(r, *painted[i - 1]));
        if (percent >= 0 && percent <= 100)
            FUZZ_CHECK(empty(r) || inside(r, client));
    }
    return 0;
}
