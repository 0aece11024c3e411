#include "tests/raster/raster_test_helpers.h"

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
