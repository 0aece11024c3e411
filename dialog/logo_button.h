#pragma once
#include <windows.h>

// Paints the owner-drawn logo button: the dialog's own background with the logo icon
// right-aligned and vertically centred. The button's state does not change the picture.
void drawLogoButton(HWND dialog, const DRAWITEMSTRUCT& item);
