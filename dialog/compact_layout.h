#pragma once
#include <windows.h>

// With at most one type there is nothing to choose: hides the type list and its label,
// moves OK into the list's row and Cancel and the logo up by as much, and makes the
// dialog that much shorter. Meant for a dialog that is not shown yet (nothing repaints).
void applyCompactLayout(HWND dialog);
