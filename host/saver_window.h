#pragma once
#include <windows.h>

inline constexpr char kSaverClassName[] = "WindowsScreenSaverClass";
inline constexpr char kFullScreenTitle[] = "Screen Saver";
inline constexpr char kPreviewTitle[] = "Preview";

// How the saver window is made in one of its two modes.
struct SaverWindowLayout {
    DWORD exStyle;
    const char* title;
    DWORD style;
    int x, y, width, height;
    HWND parent;
};

// Top-most, over the clip box of the screen.
SaverWindowLayout fullScreenLayout();
// A child over the whole client area of parent.
SaverWindowLayout previewLayout(HWND parent);

// The saver window class with hostWindowProc, the program icon and no cursor.
bool registerSaverClass(HINSTANCE instance);
HWND createSaverWindow(HINSTANCE instance, const SaverWindowLayout& layout);
// The saver window as the saver runs it: a layout made hidden (full screen) is shown after
// the screen under it has been copied for the start-up transition.
HWND openSaverWindow(HINSTANCE instance, const SaverWindowLayout& layout);

// Dispatches the thread's messages until the quit message; returns its code.
int runMessageLoop();

// The exit code of a message loop that ended with lastResult from GetMessage: the quit
// message's code, or kMessageLoopFailedExitCode when GetMessage failed (-1), whatever the
// message record last held.
int messageLoopExitCode(BOOL lastResult, const MSG& lastMessage);
