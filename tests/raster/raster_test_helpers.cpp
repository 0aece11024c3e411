#include "tests/raster/raster_test_helpers.h"

#include <algorithm>
#include <psapi.h>

std::string fixturePath(const char* name) {
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "raster_fixtures\\" + name;
}

bool nobodyHoldsFile(const std::string& path) {
    KernelHandle exclusive(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return exclusive.valid();
}

std::uint16_t word16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

std::uint32_t dword32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::uint32_t{word16(bytes, offset)} | std::uint32_t{word16(bytes, offset + 2)} << 16;
}

void putLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value,
                     unsigned width) {
    for (unsigned i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> makeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                  std::uint32_t compression, std::uint32_t colours,
                                  std::uint32_t headerSize) {
    const std::uint32_t separateMasks = compression == BI_BITFIELDS && headerSize == 40 ? 12 : 0;
    const std::uint64_t rows =
        height < 0 ? 0 - std::uint64_t(std::int64_t{height}) : std::uint64_t(height);
    std::vector<std::uint8_t> pixels;
    if (compression == BI_RLE8) {
        for (std::uint64_t row = 0; row < rows; ++row) {
            for (std::int32_t x = 0; x < width; x += 255) {
                pixels.push_back(static_cast<std::uint8_t>(std::min(width - x, 255)));
                pixels.push_back(static_cast<std::uint8_t>((x / 7 + row) % colours));
            }
            pixels.insert(pixels.end(), {0, 0});
        }
        pixels.back() = 1; // end of picture
    } else {
        pixels.resize(static_cast<std::uint64_t>((std::int64_t{width} * bitCount + 31) / 32 * 4) *
                      rows);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    const std::uint32_t offBits = 14 + headerSize + separateMasks + 4 * colours;
    std::vector<std::uint8_t> bmp(offBits, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    putLittleEndian(bmp, 2, static_cast<std::uint32_t>(offBits + pixels.size()), 4);
    putLittleEndian(bmp, 10, offBits, 4);
    putLittleEndian(bmp, 14, headerSize, 4);
    putLittleEndian(bmp, 18, static_cast<std::uint32_t>(width), 4);
    putLittleEndian(bmp, 22, static_cast<std::uint32_t>(height), 4);
    putLittleEndian(bmp, 26, 1, 2);
    putLittleEndian(bmp, 28, bitCount, 2);
    putLittleEndian(bmp, 30, compression, 4);
    putLittleEndian(bmp, 34, static_cast<std::uint32_t>(pixels.size()), 4);
    putLittleEndian(bmp, 46, colours, 4);
    if (compression == BI_BITFIELDS) {
        const std::uint32_t masks16[] = {0xF800, 0x07E0, 0x001F};
        const std::uint32_t masks32[] = {0xFF0000, 0xFF00, 0xFF};
        for (int i = 0; i < 3; ++i)
            putLittleEndian(bmp, 54 + 4 * i, bitCount == 16 ? masks16[i] : masks32[i], 4);
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = 14 + headerSize + separateMasks + 4 * i;
        bmp[at] = static_cast<std::uint8_t>(5 * i);
        bmp[at + 1] = static_cast<std::uint8_t>(255 - i);
        bmp[at + 2] = static_cast<std::uint8_t>(3 * i);
    }
    bmp.insert(bmp.end(), pixels.begin(), pixels.end());
    return bmp;
}

std::vector<std::uint8_t> withLengthRecord(const std::vector<std::uint8_t>& picture) {
    std::vector<std::uint8_t> bytes(8 + picture.size());
    bytes[0] = 'l';
    bytes[1] = 't';
    putLittleEndian(bytes, 4, static_cast<std::uint32_t>(picture.size()), 4);
    std::copy(picture.begin(), picture.end(), bytes.begin() + 8);
    return bytes;
}

std::uint32_t pageSize() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

std::uint64_t roundUpToPages(std::uint64_t bytes) {
    return (bytes + pageSize() - 1) / pageSize() * pageSize();
}

unsigned gdiObjectCount() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    unsigned count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++count;
    return count;
}

SIZE_T processMemory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

Pixels readPixels(HBITMAP bitmap) {
    BITMAP description = {};
    Pixels result;
    if (!GetObjectA(bitmap, sizeof description, &description))
        return result;
    result.width = description.bmWidth;
    result.height = description.bmHeight;
    result.values.resize(std::size_t(result.width) * result.height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = result.width;
    info.bmiHeader.biHeight = -result.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDC screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, result.height, result.values.data(), &info,
                  DIB_RGB_COLORS) != result.height)
        result.values.clear();
    for (std::uint32_t& value : result.values)
        value &= 0xFFFFFF;
    return result;
}

PALETTEENTRY paletteColour(int index) {
    return {static_cast<BYTE>(index), static_cast<BYTE>(255 - index % 256),
            static_cast<BYTE>((7 * index) % 256), 0};
}

PaletteHandle makePalette(int count) {
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i)
        logical->palPalEntry[i] = paletteColour(i);
    return PaletteHandle(CreatePalette(logical));
}
