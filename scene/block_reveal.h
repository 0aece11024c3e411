#pragma once
#include <windows.h>

class FramePacer;

// Replaces destRect of dest with the same-sized area of source at sourceOrigin, block by
// block: blocks in interleaved stripes (stride >= 1), in reverse (stride 0), optionally
// shuffled with rand(), pausing pauseMs after every blocksPerPause-th block (0 counts as
// 1). A block size of 0 means the whole width or height. Waits go through pacer (a
// private one when null); a wait that the pacer cuts short (its stop event) ends the
// reveal there.
void revealBlocks(HDC dest, const RECT& destRect, HDC source, POINT sourceOrigin, int blockWidth,
                  int blockHeight, DWORD rasterOp, unsigned stride, bool shuffle,
                  unsigned blocksPerPause, unsigned pauseMs, FramePacer* pacer = nullptr);
