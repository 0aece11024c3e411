#pragma once
#include <windows.h>

// Draws sprite onto dc with its top-left corner at position: pixels of keyColour stay
// transparent, all others are blended over what dc shows with the constant alpha
// (0..255): (sprite x alpha + old x (255 - alpha)) / 255 per channel. Alpha 0 draws
// nothing.
void composeSprite(HDC dc, POINT position, HBITMAP sprite, COLORREF keyColour, int alpha);
