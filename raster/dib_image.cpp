#include "raster/dib_image.h"
#include "raster/dib_layout.h"

namespace {
template <typename Part>
Part* offsetBy(const void* from, std::uint64_t bytes) {
    // Integer arithmetic: an offset from a damaged header may point far outside the block.
    return reinterpret_cast<Part*>(reinterpret_cast<std::uintptr_t>(from) + bytes);
}
} // namespace

DibImage::DibImage() {
    resetFields();
}

DibImage::~DibImage() {
    detach();
}

void DibImage::resetFields() {
    fileHeader_ = nullptr;
    infoHeader_ = nullptr;
    masks_ = nullptr;
    colorTable_ = nullptr;
    bits_ = nullptr;
    palette_.reset();
    originX_ = 0;
    originY_ = 0;
    bounds_ = {};
    stride_ = 0;
    rowPadding_ = 0;
    colorMask_ = 0;
}

// No operation of the image itself makes a bitmap view; an image that keeps one releases
// it here.
void DibImage::releaseBitmapView() {}

void DibImage::detach() {
    palette_.reset();
    releaseBitmapView();
    resetFields();
}

bool DibImage::readFrom(HANDLE file, bool withHeader, ReadPlacement placement,
                        const AllocStrategy* strategy, std::uintptr_t context) {
    // The parts point into the memory the read replaces; where the image lay is kept.
    auto* previousBase = reinterpret_cast<std::uint8_t*>(fileHeader_);
    detach();
    bool read = MemBlock::readFrom(file, withHeader, placement, strategy, context);
    // A refused header leaves the old image in place: lay the parts over it again, where
    // they lay (an image read to an offset does not start at the block's start).
    std::uint8_t* base = previousBase ? previousBase : data();
    if (read)
        base = data() + placement.offset;
    if (data() && parse(base, context))
        return read;
    detach();
    return false;
}

BITMAPFILEHEADER* DibImage::locateFileHeader(std::uint8_t* base, std::uintptr_t) {
    return reinterpret_cast<BITMAPFILEHEADER*>(base);
}

BITMAPINFOHEADER* DibImage::locateInfoHeader(BITMAPFILEHEADER* fileHeader, std::uintptr_t) {
    return offsetBy<BITMAPINFOHEADER>(fileHeader, kFileHeaderSize);
}

RGBQUAD* DibImage::locateColorTable(BITMAPINFOHEADER* infoHeader, std::uintptr_t) {
    std::uint64_t offset = infoHeader->biSize;
    if (infoHeader->biCompression == BI_BITFIELDS && infoHeader->biSize == kInfoHeaderSize)
        offset += kMaskBytes;
    return offsetBy<RGBQUAD>(infoHeader, offset);
}

DWORD* DibImage::locateMasks(BITMAPINFOHEADER* infoHeader, std::uintptr_t) {
    return offsetBy<DWORD>(infoHeader, kInfoHeaderSize);
}

std::uint8_t* DibImage::locateBits(BITMAPFILEHEADER* fileHeader, std::uintptr_t) {
    return offsetBy<std::uint8_t>(fileHeader, fileHeader->bfOffBits);
}

bool DibImage::parse(std::uint8_t* base, std::uintptr_t context) {
    // Each part must start inside the block; the headers must also end inside it before
    // their fields are read.
    fileHeader_ = locateFileHeader(base, context);
    if (!spans(fileHeader_, kFileHeaderSize))
        return false;
    infoHeader_ = locateInfoHeader(fileHeader_, context);
    if (!spans(infoHeader_, kInfoHeaderSize))
        return false;
    colorTable_ = locateColorTable(infoHeader_, context);
    if (!spans(colorTable_, 1))
        return false;
    masks_ = locateMasks(infoHeader_, context);
    if (!spans(masks_, 1))
        return false;
    bits_ = locateBits(fileHeader_, context);
    if (!spans(bits_, 1))
        return false;

    BITMAPINFOHEADER& info = *infoHeader_;
    if (fileHeader_->bfType != kBitmapFileType)
        return false;
    if (info.biSize == sizeof(BITMAPCOREHEADER))
        return false;
    if (info.biCompression > BI_BITFIELDS)
        return false;

    // Every part that writeTo or a palette reads must lie wholly inside the block, however
    // large the header says it is.
    if (!spans(infoHeader_, info.biSize))
        return false;
    if (info.biCompression == BI_BITFIELDS && !spans(masks_, kMaskBytes))
        return false;
    std::uint32_t tableCount = colorTableCount(info);
    if (colorTable_ != reinterpret_cast<RGBQUAD*>(bits_) &&
        !spans(colorTable_, std::uint64_t{4} * tableCount))
        return false;
    std::int64_t rowBytes = info.biBitCount ? dibStride(info.biWidth, info.biBitCount) : 0;
    std::int64_t pixelBytes = pixelDataLength(info);
    if (pixelBytes < 0 || rowBytes > UINT32_MAX || !spans(bits_, pixelBytes))
        return false;

    palette_.reset();
    if (colorTable_ != reinterpret_cast<RGBQUAD*>(bits_))
        palette_.reset(createPaletteFromColorTable(infoHeader_, colorTable_));

    if ((info.biCompression == BI_RLE8 || info.biCompression == BI_RLE4) && info.biSizeImage == 0 &&
        info.biBitCount != 0)
        info.biSizeImage = static_cast<DWORD>(pixelBytes);

    originX_ = 0;
    originY_ = 0;
    bounds_ = {0, 0, info.biWidth, info.biHeight};
    if (info.biBitCount != 0) {
        stride_ = static_cast<std::uint32_t>(rowBytes);
    } else {
        std::int64_t rows = rowCount(info.biHeight);
        stride_ = rows ? static_cast<std::uint32_t>(info.biSizeImage / rows) : 0;
    }
    std::int64_t rowData = (std::int64_t{info.biWidth} * info.biBitCount) >> 3;
    rowPadding_ = static_cast<std::uint32_t>(((rowData + 3) & ~std::int64_t{3}) - rowData);

    if (info.biCompression == BI_BITFIELDS) {
        colorMask_ = masks_[0] | masks_[1] | masks_[2];
    } else {
        switch (info.biBitCount) {
        case 1:
            colorMask_ = 0x1;
            break;
        case 4:
            colorMask_ = 0xF;
            break;
        case 8:
            colorMask_ = 0xFF;
            break;
        case 16:
            colorMask_ = 0x7FFF;
            break;
        case 24:
        case 32:
            colorMask_ = 0xFFFFFF;
            break;
        default:
            colorMask_ = 0xFFFFFFFF;
            break;
        }
    }
    return true;
}
