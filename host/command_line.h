#pragma once
#include <windows.h>

// What the command line asks for. The handle is as parsed: checking that it names a
// window, and the fallback to the foreground window, are the dispatcher's.
enum SaverMode {
    SettingsMode,  // no switch at all: the dialog without an owner
    ConfigureMode, // "c": the dialog owned by the handle's window or the foreground window
    ChangePasswordMode,
    PreviewMode,
    FullScreenMode,
    RejectedMode,
};

struct SaverRequest {
    SaverMode mode;
    HWND handle;
};

// The command tail: the raw command line without the program name (quoted or not) and
// the blanks and control bytes after it.
const char* skipProgramName(const char* commandLine);

// A decimal number at the start of text as a window handle, wrapping in 32 bits; no
// digits give null.
HWND parseWindowHandle(const char* text);

// The switch grammar: separators (space, '-', '/'), then one letter that selects the mode.
SaverRequest parseCommandLine(const char* tail);
