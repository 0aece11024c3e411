#include "raster/dib_image.h"
#include "raster/dib_layout.h"

#include <cstring>

bool DibImage::create(int width, int height, std::uint16_t bitCount, HPALETTE palette, int fillMode,
                      std::uintptr_t fillArg, std::uintptr_t context) {
    if (bitCount == 0 || (width == 0 && height == 0))
        return false;
    detach();
    // A negative width describes no image; its row arithmetic would go negative.
    if (width < 0) {
        release();
        setErrorCode(DIB_ERROR_LAYOUT);
        return false;
    }

    const std::int64_t rowStride = dibStride(width, bitCount);
    const std::int64_t imageSize = rowStride * rowCount(height);

    std::uint32_t colours = 0;
    if (palette) {
        colours = GetPaletteEntries(palette, 0, 0, nullptr);
        if (!depthCanIndex(bitCount, colours))
            colours = naturalColorCount(bitCount);
    }
    const bool bitFields = bitCount == 16 || bitCount == 32;
    const std::uint32_t maskBytes = bitFields ? kMaskBytes : 0;

    // Sizes are worked out in 64 bits: a product that wraps in 32 would allocate a block
    // too small for the rows written into it.
    const std::int64_t total =
        imageSize + maskBytes + std::int64_t{4} * colours + kFileHeaderSize + kInfoHeaderSize;
    if (total >= UINT32_MAX) {
        release();
        setErrorCode(MEMBLOCK_ERROR_NO_MEMORY);
        return false;
    }
    if (!allocate(static_cast<std::uint32_t>(total), 0, 0, nullptr))
        return false;

    fileHeader_ = locateFileHeader(data(), context);
    infoHeader_ = locateInfoHeader(fileHeader_, context);
    BITMAPINFOHEADER& info = *infoHeader_;
    info = {};
    info.biSize = kInfoHeaderSize;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = bitCount;
    info.biCompression = bitFields ? BI_BITFIELDS : BI_RGB;
    // A full palette is recorded as 0.
    info.biClrUsed = depthCanIndex(bitCount, colours + std::uint64_t{1}) ? colours : 0;

    BITMAPFILEHEADER& file = *fileHeader_;
    file = {};
    file.bfType = kBitmapFileType;
    file.bfSize = size();
    std::uint32_t tableBytes = 0;
    if (bitCount > 8 || palette)
        tableBytes = 4 * colorTableCount(info);
    file.bfOffBits = kFileHeaderSize + info.biSize + maskBytes + tableBytes;

    masks_ = locateMasks(infoHeader_, context);
    if (bitCount == 16) {
        masks_[0] = 0x7C00;
        masks_[1] = 0x03E0;
        masks_[2] = 0x001F;
    } else if (bitCount == 32) {
        masks_[0] = 0x00FF0000;
        masks_[1] = 0x0000FF00;
        masks_[2] = 0x000000FF;
    }

    if (palette) {
        MemBlock entries;
        UINT read = 0;
        if (entries.allocate(colours * sizeof(PALETTEENTRY), 0, 0, nullptr))
            read = GetPaletteEntries(palette, 0, colours,
                                     reinterpret_cast<PALETTEENTRY*>(entries.data()));
        // Wine's GetPaletteEntries answers a count of 0 with the palette's size, not 0.
        if (colours == 0 || read == 0) {
            release();
            detach();
            setErrorCode(DIB_ERROR_PALETTE);
            return false;
        }
        colorTable_ = locateColorTable(infoHeader_, context);
        const auto* entry = reinterpret_cast<const PALETTEENTRY*>(entries.data());
        for (std::uint32_t i = 0; i < colours; ++i)
            colorTable_[i] = {entry[i].peBlue, entry[i].peGreen, entry[i].peRed, 0};
    }

    bits_ = locateBits(fileHeader_, context);
    // bfOffBits can leave the pixel rows short of the block's end for depths whose table
    // is not counted (a 3-bit image with a full palette); never fill past the block.
    const std::uint32_t fillBytes =
        spans(bits_, imageSize) ? static_cast<std::uint32_t>(imageSize) : 0;
    switch (fillMode) {
    case FillBytes:
        if (fillBytes)
            std::memset(bits_, static_cast<std::uint8_t>(fillArg), fillBytes);
        break;
    case FillPixels:
        if (fillBytes)
            fillPixels(width, height, bitCount, static_cast<std::uint32_t>(fillArg),
                       static_cast<std::uint32_t>(rowStride), fillBytes);
        break;
    case FillCopy:
        if (fillBytes)
            copyPixels(reinterpret_cast<const DibImage*>(fillArg), width, height, bitCount,
                       static_cast<std::uint32_t>(rowStride));
        break;
    default:
        break;
    }

    if (!parse(data(), context)) {
        release();
        detach();
        setErrorCode(DIB_ERROR_LAYOUT);
        return false;
    }
    return true;
}

void DibImage::fillPixels(int width, int height, std::uint16_t bitCount, std::uint32_t value,
                          std::uint32_t rowStride, std::uint32_t imageSize) {
    if (width <= 0 || height <= 0)
        return;
    if (bitCount == 1 || bitCount == 4 || bitCount == 8) {
        std::memset(bits_, static_cast<std::uint8_t>(value), imageSize);
        return;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits_ + std::size_t{rowStride} * y;
        for (int x = 0; x < width; ++x) {
            switch (bitCount) {
            case 16: {
                auto pixel = static_cast<std::uint16_t>(value);
                std::memcpy(row + 2 * std::size_t(x), &pixel, 2);
                break;
            }
            case 24:
                row[3 * std::size_t(x)] = static_cast<std::uint8_t>(value >> 16);
                row[3 * std::size_t(x) + 1] = static_cast<std::uint8_t>(value >> 8);
                row[3 * std::size_t(x) + 2] = static_cast<std::uint8_t>(value);
                break;
            case 32:
                std::memcpy(row + 4 * std::size_t(x), &value, 4);
                break;
            default:
                return;
            }
        }
    }
}

void DibImage::copyPixels(const DibImage* source, int width, int height, std::uint16_t bitCount,
                          std::uint32_t rowStride) {
    if (!source || source == this || height <= 0 || width <= 0)
        return;
    const BITMAPINFOHEADER* sourceInfo = source->infoHeader_;
    if (!source->spans(sourceInfo, kInfoHeaderSize) || !source->bits_)
        return;
    if (sourceInfo->biBitCount != bitCount || source->bounds_.right < width ||
        source->bounds_.bottom < height)
        return;
    // The source rows are bottom-up: the region's last row is the picture's lowest.
    const std::int64_t firstRow = std::int64_t{sourceInfo->biHeight} - source->originY_ - height;
    const std::int64_t rowOffset = (std::int64_t{source->originX_} * bitCount) >> 3;
    // Whole bytes: a width of 1- or 4-bit pixels that ends inside a byte keeps its last
    // pixels.
    const std::int64_t copyBytes = (std::int64_t{width} * bitCount + 7) >> 3;
    if (firstRow < 0 || rowOffset < 0)
        return;
    const auto* from = reinterpret_cast<const std::uint8_t*>(
        reinterpret_cast<std::uintptr_t>(source->bits_) +
        static_cast<std::uint64_t>(firstRow * std::int64_t{source->stride_} + rowOffset));
    // The source may have been laid over a block its header does not fit: copy only what
    // lies inside it.
    if (!source->spans(from, std::int64_t{source->stride_} * (height - 1) + copyBytes))
        return;
    std::uint8_t* to = bits_;
    for (int y = 0; y < height; ++y) {
        std::memcpy(to, from, static_cast<std::size_t>(copyBytes));
        to += rowStride;
        from += source->stride_;
    }
}
