// The bar's pixels read back from the screen, and the dialog's template and layout.
#include <cstring>
#include <string>
#include <vector>

#include "launcher/cbar/cbarctl.h"
#include "launcher/cbar/cbardlg.h"
#include "launcher/cbar/cbarres.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/win/cbar_support.h"
#include "tests/win/hicontrast_fake.h"

namespace {
const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kGray = RGB(128, 128, 128),
               kLight = RGB(192, 192, 192);

// What the bar shows, in one BitBlt so that no half-done repaint is read.
struct Shot {
    int w = 0, h = 0;
    std::vector<COLORREF> px;
    COLORREF at(int x, int y) const { return px[y * w + x]; }
};

Shot grab(HWND bar)
{
    Shot s;
    RECT rc;
    GetClientRect(bar, &rc);
    s.w = rc.right;
    s.h = rc.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.w;
    bi.bmiHeader.biHeight = -s.h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(bar);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, s.w, s.h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < s.w * s.h; ++i)
        s.px.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(bar, screen);
    return s;
}

struct Palette {
    COLORREF back, outline, highlight, shadow, face;
};
const Palette kFixed = {kLight, kBlack, kWhite, kGray, kLight};

// The look as a user would describe it, filled part R pixels wide: a one-pixel black
// outline, a two-pixel white band along top and left, a two-pixel gray band along
// bottom and right, light gray inside and beyond. Past the control, the clip cuts it.
COLORREF expected(int x, int y, int h, int r, const Palette& p)
{
    if (x >= r)
        return p.back;
    if (x == 0 || y == 0 || y == h - 1 || x == r - 1)
        return p.outline;
    if (x >= 3 && y >= 3 && (x >= r - 3 || y >= h - 3))
        return p.shadow;
    if (x < 3 || y < 3)
        return p.highlight;
    return p.face;
}

// The centred text is anti-aliased: pixels inside this box are judged apart.
bool inTextBox(const Shot& s, int x, int y)
{
    return x >= s.w / 2 - 24 && x < s.w / 2 + 24 && y >= s.h / 2 - 8 && y <= s.h / 2 + 8;
}

// Every pixel outside the text box, against the look for this percent.
void expectBar(const Shot& s, int percent, const Palette& p = kFixed)
{
    ASSERT_GE(s.w, 20);
    ASSERT_GE(s.h, 12);
    const int r = s.w * percent / 100;
    int wrong = 0;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            if (!inTextBox(s, x, y) && s.at(x, y) != expected(x, y, s.h, r, p) && ++wrong <= 5)
                ADD_FAILURE() << "at " << percent << "% pixel (" << x << "," << y << ") is "
                              << std::hex << s.at(x, y) << ", not " << expected(x, y, s.h, r, p);
    EXPECT_EQ(wrong, 0) << "wrong pixels at " << percent << "% of " << s.w << "x" << s.h;
}

// Over a plain light-gray area, the text's ink is centred on the whole control.
void expectCentredText(const Shot& s)
{
    int left = s.w, right = -1, top = s.h, bottom = -1;
    for (int y = 3; y < s.h - 3; ++y)
        for (int x = 3; x < s.w - 3; ++x)
            if (s.at(x, y) != kLight) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no text";
    EXPECT_NEAR((left + right) / 2.0, (s.w - 1) / 2.0, 2.0);
    EXPECT_NEAR((top + bottom) / 2.0, (s.h - 1) / 2.0, 2.0);
}

HWND showBar(int percent)
{
    SetCompletionBar(percent);
    HWND bar = barOf(openDialog());
    EXPECT_NE(bar, nullptr);
    return bar;
}

TEST_F(CBarTest, PaintsZeroHalfFullAndPastFull)
{
    OpenCompletionBar("Paint");
    for (int p : {0, 50, 100, 150}) {
        SCOPED_TRACE(p);
        const Shot s = grab(showBar(p));
        expectBar(s, p);
        if (p == 0)
            expectCentredText(s);
    }
}

// The worked example, on a bar of its own size (the dialog's follows its font).
TEST_F(CBarTest, WorkedExampleAt249x23)
{
    HWND parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 400,
                                  249, 23, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    RegisterCBarControlClass();
    HWND bar = CreateCBarControl(parent, RECT{0, 0, 249, 23}, 600);
    ASSERT_NE(bar, nullptr);
    SendMessageA(bar, CBM_SETPERCENT, 0, 50);
    UpdateWindow(bar);
    const Shot s = grab(bar);
    expectBar(s, 50);
    EXPECT_EQ(s.at(123, 0), kBlack);  // black (0,0,124,23)
    EXPECT_EQ(s.at(124, 21), kLight);  // unfilled (the text sits at 124, 11)
    EXPECT_EQ(s.at(122, 1), kWhite);  // white (1,1,123,22)
    EXPECT_EQ(s.at(122, 21), kGray);  // gray (3,3,123,22)
    EXPECT_EQ(s.at(3, 21), kGray);
    EXPECT_EQ(s.at(120, 19), kLight);  // face (3,3,121,20)
    EXPECT_EQ(s.at(3, 3), kLight);
    DestroyWindow(parent);
}

// Each channel of c between those of a and b: anti-aliased ink of colour b on a.
bool between(COLORREF c, COLORREF a, COLORREF b)
{
    for (int shift : {0, 8, 16}) {
        const int v = c >> shift & 0xFF, lo = a >> shift & 0xFF, hi = b >> shift & 0xFF;
        if (v < std::min(lo, hi) || v > std::max(lo, hi))
            return false;
    }
    return true;
}

// The system colours a test sets, put back as they were when it ends.
class SysColours {
public:
    SysColours(const int (&which)[4], const COLORREF (&colours)[4])
    {
        for (int i = 0; i < 4; ++i)
            saved_[i] = GetSysColor(which_[i] = which[i]);
        EXPECT_TRUE(SetSysColors(4, which_, colours));
    }
    ~SysColours() { SetSysColors(4, which_, saved_); }

private:
    int which_[4];
    COLORREF saved_[4];
};

// Wine cannot switch high contrast on: the seam says it is on, SetSysColors gives the
// colours, and the bar must paint with them, its text in the colour of each part.
TEST_F(CBarTest, HighContrastPaintsWithTheSystemsColours)
{
    const COLORREF window = RGB(0, 0, 0), text = RGB(255, 255, 0), highlight = RGB(0, 0, 160),
                   highlightText = RGB(255, 255, 255);
    SysColours scheme({COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
                      {window, text, highlight, highlightText});
    fakeHighContrast = true;
    HWND parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 400,
                                  249, 23, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    RegisterCBarControlClass();
    HWND bar = CreateCBarControl(parent, RECT{0, 0, 249, 23}, 600);
    SendMessageA(bar, CBM_SETPERCENT, 0, 50);
    UpdateWindow(bar);
    const Shot s = grab(bar);
    fakeHighContrast = false;
    DestroyWindow(parent);

    expectBar(s, 50, {window, text, highlight, highlight, highlight});
    // "50%" straddles the filled part's edge at 124: ink on both sides, each readable.
    int inkOnFill = 0, inkOnBack = 0, wrong = 0;
    for (int y = 1; y < s.h - 1; ++y)
        for (int x = 1; x < s.w - 1; ++x) {
            if (!inTextBox(s, x, y) || x == 123)  // the outline's column
                continue;
            const COLORREF c = s.at(x, y);
            const bool fill = x < 123;
            if (!between(c, fill ? highlight : window, fill ? highlightText : text) && ++wrong <= 5)
                ADD_FAILURE() << "text pixel (" << x << "," << y << ") is " << std::hex << c;
            (fill ? inkOnFill : inkOnBack) += c != (fill ? highlight : window);
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(inkOnFill, 0);
    EXPECT_GT(inkOnBack, 0);
}

TEST_F(CBarTest, NewBarShowsZeroAfterAnEarlierShowedEighty)
{
    OpenCompletionBar("First");
    expectBar(grab(showBar(80)), 80);
    OpenCompletionBar("Second");
    const Shot s = grab(barOf(openDialog()));
    expectBar(s, 0);
    expectCentredText(s);
}

TEST_F(CBarTest, SetPercentIgnoresWParam)
{
    OpenCompletionBar("wParam");
    HWND dlg = openDialog();
    HWND bar = barOf(dlg);
    SendMessageA(dlg, CBM_SETPERCENT, 0, 50);
    UpdateWindow(bar);
    const Shot plain = grab(bar);
    SendMessageA(dlg, CBM_SETPERCENT, 0, 10);
    SendMessageA(dlg, CBM_SETPERCENT, 0x12345678, 50);
    UpdateWindow(bar);
    const Shot odd = grab(bar);
    expectBar(odd, 50);
    EXPECT_TRUE(plain.px == odd.px);
}

TEST_F(CBarTest, BarTakesExactlyThePlaceholdersArea)
{
    HWND dlg = CompletionBarDialog(BrakDemoHWND, "Hidden", 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(IsWindowVisible(dlg));  // hidden until the caller shows it
    EXPECT_EQ(titleOf(dlg), "Hidden");
    EXPECT_EQ(GetDlgItem(dlg, IDC_CBARPLACE), nullptr);

    RECT place = {11, 8, 11 + 166, 8 + 14};
    MapDialogRect(dlg, &place);
    RECT bar;
    GetWindowRect(barOf(dlg), &bar);
    MapWindowPoints(HWND_DESKTOP, dlg, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_TRUE(EqualRect(&bar, &place)) << bar.left << "," << bar.top << "," << bar.right << ","
                                         << bar.bottom;
    RECT size = {0, 0, 189, 30}, client;
    MapDialogRect(dlg, &size);
    GetClientRect(dlg, &client);
    EXPECT_TRUE(EqualRect(&size, &client));
    DestroyWindow(dlg);
}

// The template as stored: a reader of the raw bytes sees what the dialog manager sees.
struct TemplateReader {
    const BYTE* p;
    WORD word() { WORD v; std::memcpy(&v, p, 2); p += 2; return v; }
    DWORD dword() { DWORD v; std::memcpy(&v, p, 4); p += 4; return v; }
    std::string text()
    {
        std::string s;
        for (WORD c; (c = word()) != 0;)
            s += static_cast<char>(c);
        return s;
    }
    void align(const BYTE* base) { p += (4 - (p - base) % 4) % 4; }
};

TEST(CBarTemplate, IsStoredAsGiven)
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(IDD_CBAR), MAKEINTRESOURCEA(5));
    ASSERT_NE(res, nullptr);
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(self, res)));
    TemplateReader t{base};
    EXPECT_EQ(t.dword(), 0x80C000C0u);
    EXPECT_EQ(t.dword(), 0u);
    ASSERT_EQ(t.word(), 2);
    const WORD box[] = {t.word(), t.word(), t.word(), t.word()};
    EXPECT_EQ(std::vector<WORD>(box, box + 4), (std::vector<WORD>{7, 20, 189, 30}));
    EXPECT_EQ(t.word(), 0);  // no menu
    EXPECT_EQ(t.text(), "bordlg");
    EXPECT_EQ(t.text(), "Brakkon Demo: Initializing...");
    EXPECT_EQ(t.word(), 8);
    EXPECT_EQ(t.text(), "MS Sans Serif");

    struct Item {
        DWORD style;
        WORD x, y, cx, cy, id;
    };
    const Item items[] = {{0x50008001, 6, 5, 176, 20, 0xFFFF}, {0x50008006, 11, 8, 166, 14, 500}};
    for (const Item& want : items) {
        t.align(base);
        EXPECT_EQ(t.dword(), want.style);
        EXPECT_EQ(t.dword(), 0u);
        const WORD got[] = {t.word(), t.word(), t.word(), t.word(), t.word()};
        EXPECT_EQ(std::vector<WORD>(got, got + 5),
                  (std::vector<WORD>{want.x, want.y, want.cx, want.cy, want.id}));
        EXPECT_EQ(t.text(), "BorShade");
        EXPECT_EQ(t.text(), "");
        EXPECT_EQ(t.word(), 0);  // no creation data
    }
    EXPECT_EQ(t.p - base, static_cast<int>(SizeofResource(self, res)));
}
}  // namespace
