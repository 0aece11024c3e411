#include "raster/dib_image.h"
#include "raster/dib_layout.h"

bool DibImage::writeTo(HANDLE file, bool, std::uint32_t partMask, std::uintptr_t) {
    struct Part {
        std::uint32_t bit;
        const void* from;
        std::int64_t length;
    };
    // Lengths come from the info header, so every part but none needs it inside the block.
    const bool haveInfo = spans(infoHeader_, kInfoHeaderSize);
    Part parts[] = {
        {DIB_PART_FILE_HEADER, fileHeader_, kFileHeaderSize},
        {DIB_PART_INFO_HEADER, infoHeader_, -1},
        {DIB_PART_MASKS, masks_, -1},
        {DIB_PART_COLOR_TABLE, colorTable_, -1},
        {DIB_PART_BITS, bits_, -1},
    };
    if (haveInfo) {
        const BITMAPINFOHEADER& info = *infoHeader_;
        parts[1].length = info.biSize;
        parts[2].length =
            info.biCompression == BI_BITFIELDS && info.biSize == kInfoHeaderSize ? kMaskBytes : 0;
        parts[3].length = palette_ ? std::int64_t{4} * colorTableCount(info) : 0;
        parts[4].length = pixelDataLength(info);
    }
    for (const Part& part : parts) {
        if (!(partMask & part.bit))
            continue;
        // Never read past the block, whatever its header claims.
        if (part.length < 0 || !spans(part.from, static_cast<std::uint64_t>(part.length)))
            return false;
        DWORD length = static_cast<DWORD>(part.length);
        DWORD written = 0;
        if (!WriteFile(file, part.from, length, &written, nullptr) || written != length)
            return false;
    }
    return true;
}

bool DibImage::save(const char* path, bool overwrite, bool keepErrorMode) {
    return saveToFile(path, overwrite, false, keepErrorMode, 0);
}
