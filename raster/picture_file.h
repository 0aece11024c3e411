#pragma once
#include <windows.h>
#include <cstdint>

// Decodes a picture file (BMP, JPEG, GIF, ... whatever the platform decoder reads) into a
// new DIB-section bitmap of the picture's own size that the caller owns and deletes.
// Null on any failure. COM must be initialised on the calling thread.
HBITMAP loadPictureFile(const char* path);

// Decodes a picture held in memory, size bytes from bytes, as loadPictureFile decodes a
// file's content. The bytes are copied first and stay the caller's. Null on any failure.
HBITMAP loadPictureFromMemory(const void* bytes, std::uint32_t size);

// A new bitmap, compatible with dc, of width x height holding the whole source stretched
// over it with the given stretch mode (HALFTONE for pictures, COLORONCOLOR where exact
// colours such as a colour key must survive). The source is neither changed nor deleted.
HBITMAP stretchBitmap(HDC dc, HBITMAP source, int width, int height, int stretchMode);
