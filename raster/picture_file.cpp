#include "raster/picture_file.h"
#include "platform/com_ref.h"
#include "platform/global_memory.h"
#include "platform/kernel_handles.h"
#include "raster/dib_layout.h"
#include "raster/picture_bounds.h"
#include "raster/picture_header.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ocidl.h>
#include <olectl.h>

namespace {
std::atomic<PictureLoadObserver> loadObserver{nullptr};

// The whole file in one fixed global block, or an empty owner. The file is closed when
// this returns, whatever the read gave.
GlobalMemory readWholeFile(const char* path, DWORD& size, PictureLoadReport& report) {
    KernelHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        report.failure = PictureFailure::CannotOpen;
        report.systemError = GetLastError();
        return {};
    }
    // A low part of all ones is a real size when the last error stays 0.
    SetLastError(ERROR_SUCCESS);
    DWORD high = 0;
    DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) {
        report.failure = PictureFailure::SizeUnreadable;
        report.systemError = GetLastError();
        return {};
    }
    // 4 GiB or more cannot be read in one piece; refused before any read.
    if (high != 0 || low == 0) {
        report.failure = high != 0 ? PictureFailure::TooLong : PictureFailure::Empty;
        return {};
    }
    GlobalMemory block(GlobalAlloc(GMEM_FIXED, low));
    if (!block) {
        report.failure = PictureFailure::OutOfMemory;
        return {};
    }
    DWORD read = 0;
    if (!ReadFile(file.get(), block.get(), low, &read, nullptr) || read != low) {
        report.failure = PictureFailure::ShortRead;
        report.systemError = GetLastError();
        return {};
    }
    size = low;
    return block;
}

std::uint32_t littleEndian(const std::uint8_t* bytes, unsigned width) {
    std::uint32_t value = 0;
    for (unsigned i = width; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

constexpr std::int64_t kRefused = -1;

// How many bytes a BMP picture ("BM") lacks of the parts its headers claim: the info
// header, the masks or colour table after it, and the pixel data from bfOffBits on. Wine's
// decoder reads them wherever the headers say, however far past the picture's bytes that
// is (and faulted), so anything missing is refused, but for the padding of the last row
// alone, which some tools leave out and Windows shows: that many bytes (1 to 3). 0 for
// a whole picture and for other formats.
std::int64_t bitmapShortfall(const std::uint8_t* bytes, std::uint64_t size) {
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return 0;
    if (size < kFileHeaderSize + 4)
        return kRefused;
    const std::uint64_t infoSize = littleEndian(bytes + kFileHeaderSize, 4);
    const bool core = infoSize == sizeof(BITMAPCOREHEADER);
    if (kFileHeaderSize + (core ? infoSize : std::max<std::uint64_t>(infoSize, kInfoHeaderSize)) >
        size)
        return kRefused;
    const std::uint8_t* info = bytes + kFileHeaderSize;
    std::int64_t width, height;
    std::uint32_t bitCount, compression = BI_RGB, imageSize = 0, colours = 0;
    if (core) {
        width = littleEndian(info + 4, 2);
        height = littleEndian(info + 6, 2);
        bitCount = littleEndian(info + 10, 2);
    } else {
        width = static_cast<std::int32_t>(littleEndian(info + 4, 4));
        height = static_cast<std::int32_t>(littleEndian(info + 8, 4));
        bitCount = littleEndian(info + 14, 2);
        compression = littleEndian(info + 16, 4);
        imageSize = littleEndian(info + 20, 4);
        colours = littleEndian(info + 32, 4);
    }
    // Masks follow a 40-byte header; a colour table (3-byte entries after a core header)
    // follows the header, as many entries as the depth can index at most.
    std::uint64_t tableBytes = 0;
    if (compression == BI_BITFIELDS && infoSize == kInfoHeaderSize) {
        tableBytes = kMaskBytes;
    } else if (std::uint32_t natural = naturalColorCount(bitCount)) {
        tableBytes =
            std::uint64_t{core ? 3u : 4u} * (colours ? std::min(colours, natural) : natural);
    }
    if (kFileHeaderSize + infoSize + tableBytes > size)
        return kRefused;
    // Compressed data is as long as the header says; rows as their count and width make them.
    std::uint64_t pixelBytes = imageSize;
    std::uint64_t lastRowPadding = 0;
    if (bitCount != 0 && (compression == BI_RGB || compression == BI_BITFIELDS)) {
        const std::int64_t pixelsPerRow = std::max<std::int64_t>(width, 0);
        const std::uint64_t rowBytes = dibStride(pixelsPerRow, bitCount);
        const std::uint64_t rows = rowCount(static_cast<std::int32_t>(height));
        // A row longer than the picture cannot fit; checked first, so the product cannot wrap.
        if (rows && rowBytes > size)
            return kRefused;
        pixelBytes = rowBytes * rows;
        if (rows)
            lastRowPadding = rowBytes - (pixelsPerRow * bitCount + 7) / 8;
    }
    const std::uint64_t end = littleEndian(bytes + 10, 4) + pixelBytes;
    if (end <= size)
        return 0;
    return end - size <= lastRowPadding ? static_cast<std::int64_t>(end - size) : kRefused;
}

// Where the platform's decoder takes the picture to start, and how many bytes it takes it
// to have. Wine's passes over leading 8-byte records whose second word could be the
// picture's length ("lt\0\0" with a length that fits, or a record it does not know), then
// takes the last such length; without them the picture is all the bytes.
struct PictureSpan {
    std::uint64_t start;
    std::uint64_t length;
};

PictureSpan pictureSpan(const std::uint8_t* bytes, std::uint64_t size) {
    std::uint64_t named = 0;
    std::uint64_t at = 0;
    for (; at + 8 <= size; at += 8) {
        const std::uint8_t* record = bytes + at;
        const std::uint32_t first = littleEndian(record, 4);
        const std::uint32_t second = littleEndian(record + 4, 4);
        if (std::memcmp(record, "lt\0\0", 4) == 0 && at + 8 + second <= size) {
            named = second;
            continue;
        }
        // GIF, BMP, JPEG, an enhanced metafile, an icon or a cursor starts here.
        const bool signature = std::memcmp(record, "GIF8", 4) == 0 ||
                               std::memcmp(record, "BM", 2) == 0 ||
                               std::memcmp(record, "\xFF\xD8", 2) == 0 || first == 1 ||
                               first == 0x10000 || first == 0x20000;
        if (signature || second == 0 || second > size)
            break;
        named = second;
    }
    return {at, named ? named : size};
}

// Decodes the picture in a fixed global block (whose handle is its address) of size bytes,
// which stays the caller's.
HBITMAP decodePicture(HGLOBAL block, DWORD size, PictureLoadReport& report) {
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    const PictureSpan span = pictureSpan(bytes, size);
    const std::uint64_t length = std::min(span.length, size - span.start);
    // Refused before the decoder allocates what the header claims.
    const ClaimedSize claim = claimedPictureSize(bytes + span.start, length);
    if (claim.known && !pictureSizeAllowed(claim.width, claim.height)) {
        report.failure = PictureFailure::BeyondBound;
        report.claim = claim;
        return nullptr;
    }
    // A bitmap whose parts are not all among the bytes is refused before the decoder
    // reads past them; one that lacks only its last row's padding at the very end of the
    // bytes is decoded from a copy that has it.
    const std::int64_t shortfall = bitmapShortfall(bytes + span.start, length);
    if (shortfall == kRefused || (shortfall > 0 && span.start + length != size)) {
        report.failure = PictureFailure::DamagedBitmap;
        return nullptr;
    }
    if (shortfall > 0) {
        const DWORD padded = size + static_cast<DWORD>(shortfall);
        if (padded < size) {
            report.failure = PictureFailure::DamagedBitmap;
            return nullptr;
        }
        GlobalMemory copy(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, padded));
        if (!copy) {
            report.failure = PictureFailure::OutOfMemory;
            return nullptr;
        }
        std::memcpy(copy.get(), block, size);
        return decodePicture(copy.get(), padded, report);
    }
    // Declared in this order so that the picture goes first, then the stream; the block
    // outlives both.
    ComRef<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, stream.receive()))) {
        report.failure = PictureFailure::OutOfMemory;
        return nullptr;
    }
    // fRunmode FALSE, so that the picture owns its bitmap: Wine makes a picture the owner
    // only then (with TRUE every decoded bitmap stayed behind after the picture's release).
    ComRef<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              picture.receiveVoid())) ||
        !picture) {
        report.failure = PictureFailure::NotAPicture;
        return nullptr;
    }
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)) || handle == 0) {
        report.failure = PictureFailure::NoBitmap;
        return nullptr;
    }
    // A format whose header says nothing is held to the same bound once decoded.
    const auto decoded = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP description = {};
    if (GetObjectA(decoded, sizeof description, &description) &&
        !pictureSizeAllowed(description.bmWidth, std::abs(description.bmHeight))) {
        report.failure = PictureFailure::BeyondBound;
        report.decodedWidth = description.bmWidth;
        report.decodedHeight = std::abs(description.bmHeight);
        return nullptr;
    }
    // The picture's own bitmap dies with the picture; the copy is the caller's.
    const auto copy =
        static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy)
        report.failure = PictureFailure::NoBitmap;
    return copy;
}
} // namespace

HBITMAP loadPictureFile(const char* path, PictureLoadReport* report) {
    PictureLoadReport unused;
    PictureLoadReport& why = report ? *report : unused;
    why = {};
    if (!path) {
        why.failure = PictureFailure::CannotOpen;
        return nullptr;
    }
    if (const PictureLoadObserver observer = loadObserver.load())
        observer(path);
    DWORD size = 0;
    GlobalMemory block = readWholeFile(path, size, why);
    if (!block)
        return nullptr;
    return decodePicture(block.get(), size, why);
}

void setPictureLoadObserver(PictureLoadObserver observer) {
    loadObserver.store(observer);
}

HBITMAP loadPictureFromMemory(const void* bytes, std::uint32_t size) {
    if (!bytes || size == 0)
        return nullptr;
    GlobalMemory block(GlobalAlloc(GMEM_FIXED, size));
    if (!block)
        return nullptr;
    std::memcpy(block.get(), bytes, size);
    PictureLoadReport unused;
    return decodePicture(block.get(), size, unused);
}
