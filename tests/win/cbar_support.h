// Common ground for the completion bar's Wine tests: the launcher's globals as its
// start-up leaves them, a record of the messages sent in this thread, our windows.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/win/testsupport.h"

// Each test starts with the library registered, a hidden owner standing in for the
// launcher's main window, and no bar open; it ends by closing the bar and checking
// that no dialog of ours survives.
class CBarTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
};

// The top-level "bordlg" windows of this thread.
std::vector<HWND> ourDialogs();
// The one completion-bar dialog, or null; more than one fails the test.
HWND openDialog();
std::string titleOf(HWND hwnd);
HWND barOf(HWND dlg);

// Every message sent (not posted) to a window of this thread while it exists, as the
// window procedure receives it, with the window's class name at the time.
struct Sent {
    HWND hwnd;
    std::string cls;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class SentLog {
public:
    SentLog();
    ~SentLog();
    SentLog(const SentLog&) = delete;
    SentLog& operator=(const SentLog&) = delete;

    // The lParams of the CBM_SETPERCENT messages that reached windows of class cls.
    std::vector<int> percents(const char* cls) const;
    std::vector<Sent> sent;

private:
    HHOOK hook_;
};
