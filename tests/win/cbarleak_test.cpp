// A thousand bars opened, set and closed: every replaced font is released and no
// window of ours outlives its close. (GetGuiResources is a stub under Wine, so each
// handle is asked about itself.)
#include "launcher/cbar/cbarctl.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/win/cbar_support.h"

namespace {
BOOL CALLBACK countWindow(HWND, LPARAM n)
{
    ++*reinterpret_cast<int*>(n);
    return TRUE;
}

int threadWindows()
{
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

TEST_F(CBarTest, ThousandCyclesReleaseEveryReplacedFontAndWindow)
{
    // The system's own windows of the thread come with its first focused dialog:
    // Wine 10, as Windows, gives the default IME window a UI window of its own
    // then. One bar before the count, so that only ours are counted.
    OpenCompletionBar("Before");
    CloseCompletionBar();
    const int windowsBefore = threadWindows();
    HFONT previous = nullptr;
    int fontsReused = 0, fontsAlive = 0, dialogsAlive = 0;
    for (int i = 0; i < 1000; ++i) {
        OpenCompletionBar("Cycle");
        const HFONT font = hcbarfont;
        fontsReused += font == previous;
        if (previous && GetObjectType(previous) != 0)
            ++fontsAlive;
        HWND dlg = openDialog();
        SetCompletionBar(i % 101);
        // Every third bar goes by a close request first: its font is released there,
        // and the next opening must not release it again.
        if (i % 3 == 1)
            SendMessageA(dlg, WM_CLOSE, 0, 0);
        CloseCompletionBar();
        dialogsAlive += IsWindow(dlg) || !ourDialogs().empty();
        previous = font;
    }
    EXPECT_EQ(fontsReused, 0);
    EXPECT_EQ(fontsAlive, 0);
    EXPECT_EQ(dialogsAlive, 0);
    EXPECT_EQ(threadWindows(), windowsBefore);
    EXPECT_EQ(GetObjectType(hcbarfont), static_cast<DWORD>(OBJ_FONT));  // the last bar's
}
}  // namespace
