#pragma once
#include <windows.h>

class FramePacer;

// How a block reveal cuts a rectangle and paces its copies.
struct RevealStyle {
    int blockWidth;          // 0: the whole width of the rectangle
    int blockHeight;         // 0: the whole height
    unsigned stride;         // interleaved stripes from 1 up; 0 reverses the order
    bool shuffle;            // mix the order with rand()
    unsigned blocksPerPause; // 0 counts as 1
    unsigned pauseMs;
    DWORD rasterOp = SRCCOPY;
};

// Replaces destRect of dest with the same-sized area of source at sourceOrigin, block by
// block, in the style's order, pausing pauseMs after every blocksPerPause-th block. Waits
// go through pacer (a private one when null); a wait that the pacer cuts short (its stop
// event) ends the reveal there.
void revealBlocks(HDC dest, const RECT& destRect, HDC source, POINT sourceOrigin,
                  const RevealStyle& style, FramePacer* pacer = nullptr);
