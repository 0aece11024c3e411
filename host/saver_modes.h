#pragma once
#include <windows.h>

// The exit code of a command line that asks for nothing this program does.
inline constexpr int kRejectedExitCode = -1;
// The exit code when the saver window could not be made.
inline constexpr int kNoWindowExitCode = -1;
// The exit code when the message loop failed (GetMessage reported an error).
inline constexpr int kMessageLoopFailedExitCode = -1;
// The exit code of a C++ exception that nothing caught; a fault ends with its own code.
inline constexpr int kEscapedExceptionExitCode = -2;

// Takes the current folder out of the search for libraries loaded by name, so that a
// library planted there is never loaded into the saver. Where the platform cannot do it,
// nothing changes.
void restrictLibrarySearch();

// Runs the one mode that the command tail selects and returns the process exit code.
int dispatchCommandLine(HINSTANCE instance, const char* tail);

// Whether the platform reports itself as one of the Windows 9x family.
bool isWindows9xFamily();

// The settings dialog, modally; its end code, or -1 when it cannot be shown.
int showSettings(HWND owner);

// Windows 9x family: the system's dialog that changes the screen-saver password.
void changePassword(HWND owner);

// Full screen (no parent) or a preview inside parent, until the window is destroyed.
int runSaver(HWND parent);
