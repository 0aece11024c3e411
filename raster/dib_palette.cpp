#include "raster/dib_image.h"
#include "raster/dib_layout.h"

HPALETTE DibImage::createPaletteFromColorTable(const BITMAPINFOHEADER* infoHeader,
                                               const RGBQUAD* colorTable) {
    if (!infoHeader || !colorTable)
        return nullptr;
    const std::uint32_t count = colorTableCount(*infoHeader);
    if (count == 0)
        return nullptr;
    MemBlock block;
    if (!block.allocate(4 * count + 8, 0, 0, nullptr))
        return nullptr;
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    PALETTEENTRY* entry = logical->palPalEntry;
    for (std::uint32_t i = 0; i < count; ++i)
        entry[i] = {colorTable[i].rgbRed, colorTable[i].rgbGreen, colorTable[i].rgbBlue, 0};
    return CreatePalette(logical);
}
