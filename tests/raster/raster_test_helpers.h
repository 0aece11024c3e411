#pragma once
#include "platform/gdi_handles.h"
#include "platform/kernel_handles.h"
#include "tests/support/dib_section.h"
#include "tests/support/file_access.h"
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// A committed test picture, copied beside the test program at build time.
std::string fixturePath(const char* name);

// Whether nothing holds the file open: it can be opened with exclusive access.
bool nobodyHoldsFile(const std::string& path);

// Little-endian fields of file bytes.
std::uint16_t word16(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint32_t dword32(const std::vector<std::uint8_t>& bytes, std::size_t offset);
// Writes the width (1 to 4) low bytes of value at offset, little-endian.
void putLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value,
                     unsigned width);

// A BMP file written field by field: a colour table of colours entries, the masks for
// BI_BITFIELDS (after a 40-byte header, or inside a larger one), run-length rows for
// BI_RLE8; a negative height is a top-down picture.
std::vector<std::uint8_t> makeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                  std::uint32_t compression, std::uint32_t colours,
                                  std::uint32_t headerSize = 40);
// The picture after an 8-byte "lt\0\0" record of its length, a form the platform's
// decoder reads too.
std::vector<std::uint8_t> withLengthRecord(const std::vector<std::uint8_t>& picture);

// The GDI objects this process holds. GetGuiResources counts them on Windows; Wine's gives
// 0, and there a handle with its upper 16 bits clear names whatever object holds that
// table index, so the table is counted by asking each index for its object's type.
unsigned gdiObjectCount();

// The system's page size, and bytes rounded up to whole pages.
std::uint32_t pageSize();
std::uint64_t roundUpToPages(std::uint64_t bytes);

// The private memory this process has committed, in bytes.
SIZE_T processMemory();

// A bitmap's pixels as 0x00RRGGBB, top row first, read through a 32-bit DIB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> values;
    std::uint32_t at(int x, int y) const { return values[std::size_t(y) * width + x]; }
};
Pixels readPixels(HBITMAP bitmap);

// A logical palette of count entries, entry i = RGB(i, 255 - i % 256, (7 * i) % 256).
PaletteHandle makePalette(int count);
PALETTEENTRY paletteColour(int index);
