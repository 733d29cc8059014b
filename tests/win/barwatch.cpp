// Listens as a screen reader does, from a process of its own: every value change
// any other process raises (hooked out of context), and at each one the window's
// answers to a progress bar's questions.
//   barwatch OUT SEMAPHORE   releases the named semaphore once listening and once
//                            after each event handled; at WM_QUIT writes a line an
//                            event to OUT and exits with 0:
//   hwnd idObject idChild pos rangeLow rangeHigh classIndex name
// An answer that did not come (the window gone) is -1.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Heard {
    HWND hwnd;
    LONG object, child;
    long pos, low, high, index;
    std::string name;
};
std::vector<Heard> heard;
HANDLE handled;

long ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_NORMAL, 10000, &answer))
        return -1;
    return static_cast<long>(answer);
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    Heard h = {hwnd, object, child, ask(hwnd, PBM_GETPOS, 0, 0), ask(hwnd, PBM_GETRANGE, TRUE, 0),
               ask(hwnd, PBM_GETRANGE, FALSE, 0),
               ask(hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_QUERYCLASSNAMEIDX)), ""};
    char name[128] = "";
    GetWindowTextA(hwnd, name, sizeof name);
    h.name = name;
    heard.push_back(h);
    ReleaseSemaphore(handled, 1, nullptr);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, onEvent, 0, 0,
                        WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!hook)
        return 3;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue WM_QUIT is posted to
    handled = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, argv[2]);
    if (!handled || !ReleaseSemaphore(handled, 1, nullptr))
        return 4;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    UnhookWinEvent(hook);

    FILE* out = std::fopen(argv[1], "w");
    if (!out)
        return 5;
    for (const Heard& h : heard)
        std::fprintf(out, "%lx %ld %ld %ld %ld %ld %ld name=%s\n",
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h.hwnd)), h.object,
                     h.child, h.pos, h.low, h.high, h.index, h.name.c_str());
    return std::fclose(out) == 0 ? 0 : 5;
}
