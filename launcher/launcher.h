// The launcher's shared globals and the procedures its modules call across files.
#pragma once
#include <windows.h>

#include "launcher/pathbuf.h"

// Core (main.cpp, frontend.cpp)
extern HINSTANCE hInst;
extern HWND BrakDemoHWND;           // the hidden main window
extern HWND Current_hwnd;           // owner of the launcher's warning boxes
extern UINT DemoMessage;            // the registered control message
extern int DemoQuit;                // a quit request arrived, or a front-end start failed
extern int RunProgram;              // a play cycle is in progress
extern int TimerCount;              // ticks that found the front-end gone
extern PROCESS_INFORMATION processInfo;  // the most recently started front-end

void startDemo();
int ExistProcess(PROCESS_INFORMATION* pi);

// Supervision (mainloop.cpp): the hidden window's procedure, and the main
// loop's handling of one retrieved message; false once the loop must end.
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
bool mainLoopMessage(const MSG& msg);
// A quit was posted; a drain may have taken it out of the queue.
extern int QuitPosted;
// The hidden window got a close request and is gone: the launcher ends.
extern int LauncherClosed;
// Acts on a close request still queued (one that came while a program ran).
void takePendingClose();

// The launcher's modal warning box: caption "Brakkon 2", owner Current_hwnd.
// None once the session has ended.
void warn(const char* text);

// The session's end (session.cpp): the install stopped, the game's tree given
// a bounded while, the demo tree removed. False if it had already run.
extern int SessionEnded;            // nothing more starts once set
bool endSession();
// Whether nothing more may start: the session has ended here, or Windows is
// shutting it down (the game may have had its end first and left by itself).
bool sessionEnding();

// Dispatches everything queued for the thread without waiting: the bar's
// drain, and the install's while it waits for the disc (sentwait.cpp).
void drainMessages();
// Waits that answer sent messages and leave posted ones queued (sentwait.cpp).
// The last two end early once the session has ended.
void answerSentMessages();
void pauseAnsweringSent(DWORD ms);
// Waits up to 15 s for a started program to be ready for input.
void waitUntilIdle(HANDLE process);

// Play cycle (playcycle.cpp)
extern char dir0[PATH_BUF];         // T\BK2DEMO, the demo root
extern char dir1[PATH_BUF];         // T\BK2DEMO\DEMODATA
extern char dir2[PATH_BUF];         // T\BK2DEMO\SIM
extern char dir3[PATH_BUF];         // T\BK2DEMO\SIM\LAUNCH
extern char* const treeDirs[4];     // dir0 .. dir3

void copybrak();

// Memory and disk checks, the temporary directory, the demo tree (prepare.cpp).
// False after its warning box: the cycle ends there.
bool preparePlay();
// Chooses T from TMP and TEMP and sets dir0 .. dir3 under it.
void chooseDemoDirs();

// The install copy with its byte-driven bar (install.cpp). False after a copy
// error has been reported and the tree removed: the game must not run.
bool installGame();
// Closes the files the install has open and makes it stop at its next block,
// without a warning and without touching those files again.
void abandonInstall();
// Install progress: bytes copied in this install, bytes since the bar last
// moved (kept across installs), the percent last shown.
extern double total_copied;
extern int numbytes;
extern int percent;

// Game run, removal and follow-up program (gamerun.cpp, removal.cpp).
void playGame();
// Waits up to ms for the tree of a game being waited for to end; at once if none is.
void awaitGameTree(DWORD ms);
void killbrak();
// killbrak's work, with the bar or silently; a file still held gets more
// tries for up to retryMs in all.
void removeDemoTree(bool withBar, DWORD retryMs);
extern const DWORD REMOVAL_RETRY_MS;
// Removes a tree a killed launcher or a refused deletion left (startclean.cpp).
void removeLeftoverTree();
void deleteFile(const char* file, const char* path);
