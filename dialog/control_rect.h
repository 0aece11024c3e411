#pragma once
#include <windows.h>

// The control's window rectangle in the dialog's client coordinates.
RECT controlClientRect(HWND dialog, HWND control);
