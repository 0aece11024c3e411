#pragma once
#include <windows.h>

// Decodes a picture file (BMP, JPEG, GIF, ... whatever the platform decoder reads) into a
// new DIB-section bitmap of the picture's own size that the caller owns and deletes.
// Null on any failure. COM must be initialised on the calling thread.
HBITMAP loadPictureFile(const char* path);

// A new bitmap, compatible with dc, of width x height holding the whole source stretched
// over it with the given stretch mode (HALFTONE for pictures, COLORONCOLOR where exact
// colours such as a colour key must survive). The source is neither changed nor deleted.
HBITMAP stretchBitmap(HDC dc, HBITMAP source, int width, int height, int stretchMode);
