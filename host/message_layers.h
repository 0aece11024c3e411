#pragma once
#include <windows.h>

#include <memory>

class Animator;
class OffscreenSurface;

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
// What the screen showed before the saver window was shown, for the next Animator that
// saverProc starts (null: none).
void keepStartPicture(std::unique_ptr<OffscreenSurface> picture);

// The saver never shows a cursor.
inline void hideCursor() {
    SetCursor(nullptr);
}

// Closing always goes through the window's own WM_CLOSE, so the hand-off and the
// password check see every close.
inline void closeSaver(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}
