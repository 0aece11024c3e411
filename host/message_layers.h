#pragma once
#include <windows.h>

class Animator;

// Sent by verifyPassword to the saver window; answered by defaultSaverProc with the
// verifier's verdict.
inline constexpr UINT kVerifyPasswordMessage = WM_APP;

// The saver window's messages pass through three layers, each answering a few and
// handing the rest on: hostWindowProc (the class procedure) -> saverProc (the Animator's
// life) -> defaultSaverProc (closing rules, password) -> DefWindowProcA.
LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Asks the Windows 9x verifier whether the saver may close; non-zero when it may.
BOOL verifyPassword(HWND window);

// The Animator that saverProc owns for the saver window; null before the first
// background erase and after the close.
Animator* currentAnimator();

// The saver never shows a cursor.
inline void hideCursor() {
    SetCursor(nullptr);
}

// Closing always goes through the window's own WM_CLOSE, so the hand-off and the
// password check see every close.
inline void closeSaver(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}
