#pragma once
#include <windows.h>

// Fills rect of dc with the width x height picture selected into source, repeated in both
// directions, so that the destination point (x, y) shows the source point
// ((x + originX) mod width, (y + originY) mod height). Any origin works, negative ones too.
void drawBackgroundTiled(HDC dc, const RECT& rect, HDC source, int width, int height, int originX,
                         int originY);
