#pragma once
#include <windows.h>

// Hides a shown window from the desktop compositor (DWMWA_CLOAK, Windows 8 and later) or
// shows it again: under composition a new window's own surface is on screen, black or
// garbage, until something is drawn into it. False where the system cannot cloak.
bool setWindowCloaked(HWND window, bool cloaked);
