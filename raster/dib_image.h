#pragma once
#include "platform/gdi_handles.h"
#include "raster/mem_block.h"

#include <windows.h>
#include <cstdint>

// Parts of a BMP file that writeTo writes.
inline constexpr std::uint32_t DIB_PART_FILE_HEADER = 1;
inline constexpr std::uint32_t DIB_PART_INFO_HEADER = 2;
inline constexpr std::uint32_t DIB_PART_MASKS = 4;
inline constexpr std::uint32_t DIB_PART_COLOR_TABLE = 8;
inline constexpr std::uint32_t DIB_PART_BITS = 16;

// How create fills the new pixels. Values above FillCopy act as FillNone.
enum DibFillMode : int {
    FillNone = 0,   // as the allocation delivered them
    FillBytes = 1,  // every byte, padding included, the low byte of fillArg
    FillPixels = 2, // every pixel the value fillArg (a COLORREF for 24 bits)
    FillCopy = 3,   // from the DibImage that fillArg points to, when it is large enough
};

// A complete BMP file image (file header, info header, masks, colour table, pixel rows)
// in one memory block, with pointers to its parts and a palette made from its table.
class DibImage : public MemBlock {
  public:
    DibImage();
    ~DibImage() override;

    // Refills the block from a file (inherited reading) and lays the parts over what was
    // read; false, with no part pointers, when the bytes are no valid image.
    bool readFrom(HANDLE file, bool withHeader, ReadPlacement placement,
                  const AllocStrategy* strategy, std::uintptr_t context) override;
    // Writes the parts selected by partMask, in file order. Never writes a container
    // header.
    bool writeTo(HANDLE file, bool withHeader, std::uint32_t partMask,
                 std::uintptr_t context) override;

    virtual void resetFields();
    // Deletes the palette and the view and clears every part pointer; the memory stays.
    virtual void detach();
    virtual void releaseBitmapView();
    // Lays the part pointers over the BMP image at base (inside the block) and checks
    // that every part lies wholly inside the block.
    virtual bool parse(std::uint8_t* base, std::uintptr_t context);
    virtual BITMAPFILEHEADER* locateFileHeader(std::uint8_t* base, std::uintptr_t context);
    virtual BITMAPINFOHEADER* locateInfoHeader(BITMAPFILEHEADER* fileHeader,
                                               std::uintptr_t context);
    virtual RGBQUAD* locateColorTable(BITMAPINFOHEADER* infoHeader, std::uintptr_t context);
    virtual DWORD* locateMasks(BITMAPINFOHEADER* infoHeader, std::uintptr_t context);
    virtual std::uint8_t* locateBits(BITMAPFILEHEADER* fileHeader, std::uintptr_t context);

    // A new image; a positive height is bottom-up. palette (copied, still the caller's)
    // gives the colour table. fillArg is a value, or for FillCopy a DibImage pointer.
    bool create(int width, int height, std::uint16_t bitCount, HPALETTE palette, int fillMode,
                std::uintptr_t fillArg, std::uintptr_t context);
    // A new 24-bit image of width x height holding the bitmap's pixels; true when at least
    // one row was read. The bitmap may stay selected in the caller's memory DC.
    bool captureBitmap(HBITMAP bitmap, int width, int height);
    // The complete BMP file at path.
    bool save(const char* path, bool overwrite, bool keepErrorMode);

    // A new logical palette with the colour table's entries, or null.
    static HPALETTE createPaletteFromColorTable(const BITMAPINFOHEADER* infoHeader,
                                                const RGBQUAD* colorTable);

    BITMAPFILEHEADER* fileHeader() const { return fileHeader_; }
    BITMAPINFOHEADER* infoHeader() const { return infoHeader_; }
    DWORD* masks() const { return masks_; }
    RGBQUAD* colorTable() const { return colorTable_; }
    std::uint8_t* bits() const { return bits_; }
    HPALETTE palette() const { return palette_.get(); }
    std::int32_t originX() const { return originX_; }
    std::int32_t originY() const { return originY_; }
    const RECT& bounds() const { return bounds_; }
    std::uint32_t stride() const { return stride_; }
    std::uint32_t rowPadding() const { return rowPadding_; }
    std::uint32_t colorMask() const { return colorMask_; }

  private:
    void fillPixels(int width, int height, std::uint16_t bitCount, std::uint32_t value,
                    std::uint32_t rowStride, std::uint32_t imageSize);
    void copyPixels(const DibImage* source, int width, int height, std::uint16_t bitCount,
                    std::uint32_t rowStride);

    BITMAPFILEHEADER* fileHeader_ = nullptr;
    BITMAPINFOHEADER* infoHeader_ = nullptr;
    DWORD* masks_ = nullptr;
    RGBQUAD* colorTable_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    PaletteHandle palette_;
    std::int32_t originX_ = 0;
    std::int32_t originY_ = 0;
    RECT bounds_ = {};
    std::uint32_t stride_ = 0;
    std::uint32_t rowPadding_ = 0;
    std::uint32_t colorMask_ = 0;
};
