#pragma once
#include "raster/picture_header.h"

#include <windows.h>
#include <cstdint>

// Why a picture could not be had. The saver needs only the null; the catalogue checker
// tells authors the reason.
enum class PictureFailure {
    None,
    CannotOpen, // no such file, a folder, or held by another program (see systemError)
    SizeUnreadable,
    Empty,
    TooLong, // 4 GiB or more
    OutOfMemory,
    ShortRead,
    BeyondBound,   // its header claims (or it decodes to) more than any picture the saver takes
    DamagedBitmap, // a BMP whose headers claim parts its bytes do not hold
    NotAPicture,   // the decoder found no picture it reads
    NoBitmap,      // decoded, but not as a bitmap (an icon or a metafile)
};

struct PictureLoadReport {
    PictureFailure failure = PictureFailure::None;
    DWORD systemError = 0; // the system's error code of a failed open or read
    ClaimedSize claim;     // what the header claimed, when the decoder was not asked
    std::int64_t decodedWidth = 0, decodedHeight = 0; // of a decoded picture beyond the bound
};

// Decodes a picture file (BMP, JPEG, GIF, ... whatever the platform decoder reads) into a
// new DIB-section bitmap of the picture's own size that the caller owns and deletes.
// Null on any failure; report, when given, says why. COM must be initialised on the
// calling thread.
HBITMAP loadPictureFile(const char* path, PictureLoadReport* report = nullptr);

// Called with the path before each picture file is read, on the loading thread: a test's
// way to make a load take seconds, as a large picture on a slow drive does. Null: none.
using PictureLoadObserver = void (*)(const char* path);
void setPictureLoadObserver(PictureLoadObserver observer);

// Decodes a picture held in memory, size bytes from bytes, as loadPictureFile decodes a
// file's content. The bytes are copied first and stay the caller's. Null on any failure.
HBITMAP loadPictureFromMemory(const void* bytes, std::uint32_t size);

// A new bitmap, compatible with dc, of width x height holding the whole source stretched
// over it with the given stretch mode (HALFTONE for pictures, COLORONCOLOR where exact
// colours such as a colour key must survive). The source is neither changed nor deleted.
HBITMAP stretchBitmap(HDC dc, HBITMAP source, int width, int height, int stretchMode);
