#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Pictures made by the tests, with colours that tell where they came from.

// The background: every column has its own colour, so a screen row tells which column of
// the background lies at the screen's left edge.
inline constexpr int kBackgroundWidth = 2048;
inline constexpr int kBackgroundHeight = 768;
COLORREF backgroundColour(int column);
// The column whose colour this is, or -1 for any colour that no column has.
int backgroundColumn(COLORREF colour);

// The sprite: a green square on the magenta colour key.
inline constexpr int kSpriteSize = 64;

// 24-bit bottom-up BMP files of the two pictures.
void writeBackgroundBmp(const std::string& path);
void writeSpriteBmp(const std::string& path);

// Where the view of a drawn drift background starts: the background column shown at x 0
// of the row, when every sampled pixel of the row is the background exactly (and not a
// blend, as during the fade); -1 otherwise.
int viewColumnOfRow(const std::vector<COLORREF>& row);
