#include "raster/dib_image.h"
#include "tests/raster/raster_test_helpers.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

std::uint32_t expectedStride(std::uint32_t width, std::uint32_t bitCount) {
    std::uint32_t bytes = (width * bitCount + 7) / 8;
    return (bytes + 3) / 4 * 4;
}

void expectEmpty(const DibImage& image) {
    EXPECT_EQ(image.data(), nullptr);
    EXPECT_EQ(image.size(), 0u);
    EXPECT_EQ(image.fileHeader(), nullptr);
    EXPECT_EQ(image.infoHeader(), nullptr);
    EXPECT_EQ(image.bits(), nullptr);
    EXPECT_EQ(image.palette(), nullptr);
}

// Row y of the picture (0 = top) of a bottom-up image.
const std::uint8_t* pictureRow(const DibImage& image, int y) {
    return image.bits() + std::size_t(image.stride()) * (image.infoHeader()->biHeight - 1 - y);
}

std::uint32_t paletteSize(HPALETTE palette) {
    return GetPaletteEntries(palette, 0, 0, nullptr);
}

} // namespace

TEST(DibCreateTest, EveryDepthGetsTheRowSizeAndFileLengthOfItsWidth) {
    for (std::uint16_t bitCount : {1, 4, 8, 16, 24, 32}) {
        for (int width : {1, 2, 3, 5, 7, 9, 33}) {
            SCOPED_TRACE(testing::Message() << bitCount << " bits, width " << width);
            DibImage image;
            ASSERT_TRUE(image.create(width, 3, bitCount, nullptr, FillNone, 0, 0));
            std::uint32_t stride = expectedStride(width, bitCount);
            std::uint32_t headers = 54 + (bitCount == 16 || bitCount == 32 ? 12 : 0);
            EXPECT_EQ(image.stride(), stride);
            EXPECT_EQ(image.size(), headers + 3 * stride);
            EXPECT_EQ(image.fileHeader()->bfType, 0x4D42);
            EXPECT_EQ(image.fileHeader()->bfSize, image.size());
            EXPECT_EQ(image.fileHeader()->bfOffBits, headers);
            EXPECT_EQ(image.bits(), image.data() + headers);
            const BITMAPINFOHEADER& info = *image.infoHeader();
            EXPECT_EQ(info.biSize, 40u);
            EXPECT_EQ(info.biWidth, width);
            EXPECT_EQ(info.biHeight, 3);
            EXPECT_EQ(info.biPlanes, 1);
            EXPECT_EQ(info.biBitCount, bitCount);
            EXPECT_EQ(info.biSizeImage, 0u);
            EXPECT_EQ(info.biClrUsed, 0u);
            std::uint32_t wholeBytes = width * bitCount / 8;
            EXPECT_EQ(image.rowPadding(), (wholeBytes + 3) / 4 * 4 - wholeBytes);
            EXPECT_EQ(image.bounds().right, width);
            EXPECT_EQ(image.bounds().bottom, 3);
            EXPECT_EQ(image.palette(), nullptr);
        }
    }
}

TEST(DibCreateTest, SixteenAndThirtyTwoBitsCarryTheirColourMasks) {
    DibImage image;
    ASSERT_TRUE(image.create(4, 2, 16, nullptr, FillNone, 0, 0));
    EXPECT_EQ(image.infoHeader()->biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(image.masks(), reinterpret_cast<DWORD*>(image.data() + 54));
    EXPECT_EQ(image.masks()[0], 0x7C00u);
    EXPECT_EQ(image.masks()[1], 0x03E0u);
    EXPECT_EQ(image.masks()[2], 0x001Fu);
    EXPECT_EQ(image.colorMask(), 0x7FFFu);

    ASSERT_TRUE(image.create(4, 2, 32, nullptr, FillNone, 0, 0));
    EXPECT_EQ(image.infoHeader()->biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(image.masks()[0], 0x00FF0000u);
    EXPECT_EQ(image.masks()[1], 0x0000FF00u);
    EXPECT_EQ(image.masks()[2], 0x000000FFu);
    EXPECT_EQ(image.colorMask(), 0xFFFFFFu);

    ASSERT_TRUE(image.create(4, 2, 24, nullptr, FillNone, 0, 0));
    EXPECT_EQ(image.infoHeader()->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(image.colorMask(), 0xFFFFFFu);
}

TEST(DibCreateTest, NothingToCreateLeavesTheHeldImageAlone) {
    DibImage image;
    ASSERT_TRUE(image.create(3, 3, 8, nullptr, FillBytes, 0x42, 0));
    std::uint8_t* before = image.data();
    EXPECT_FALSE(image.create(3, 3, 0, nullptr, FillBytes, 0, 0));
    EXPECT_FALSE(image.create(0, 0, 24, nullptr, FillBytes, 0, 0));
    EXPECT_EQ(image.data(), before);
    EXPECT_EQ(image.bits()[0], 0x42);
    EXPECT_EQ(image.errorCode(), MEMBLOCK_ERROR_NONE);
}

TEST(DibCreateTest, ZeroWidthOrHeightFailsTheLayoutAndEmptiesTheImage) {
    for (std::uint16_t bitCount : {8, 16, 24}) {
        DibImage image;
        ASSERT_TRUE(image.create(3, 3, 24, nullptr, FillNone, 0, 0));
        EXPECT_FALSE(image.create(0, 5, bitCount, nullptr, FillNone, 0, 0)) << bitCount;
        EXPECT_EQ(image.errorCode(), DIB_ERROR_LAYOUT) << bitCount;
        expectEmpty(image);
        EXPECT_FALSE(image.create(5, 0, bitCount, nullptr, FillNone, 0, 0)) << bitCount;
        EXPECT_EQ(image.errorCode(), DIB_ERROR_LAYOUT) << bitCount;
    }
}

TEST(DibCreateTest, SizesBeyondThirtyTwoBitsAreRefusedInsteadOfWrapping) {
    struct Case {
        int width;
        int height;
        std::uint16_t bitCount;
    };
    // width x bitCount wraps to 32 bits; stride x height wraps to a small size.
    const Case cases[] = {{0x08000001, 8, 32}, {0x10001, 0x10000, 24}, {0x40000000, 4, 8}};
    for (const Case& c : cases) {
        DibImage image;
        ASSERT_TRUE(image.create(2, 2, 24, nullptr, FillNone, 0, 0));
        EXPECT_FALSE(image.create(c.width, c.height, c.bitCount, nullptr, FillPixels, 0xFF, 0))
            << c.width << " x " << c.height;
        EXPECT_EQ(image.errorCode(), MEMBLOCK_ERROR_NO_MEMORY);
        expectEmpty(image);
    }
    DibImage image;
    EXPECT_FALSE(image.create(-4, 4, 24, nullptr, FillPixels, 0xFF, 0)) << "negative width";
    EXPECT_EQ(image.errorCode(), DIB_ERROR_LAYOUT);
    expectEmpty(image);
}

TEST(DibCreateTest, NegativeHeightMakesATopDownImageOfThatManyRows) {
    DibImage image;
    ASSERT_TRUE(image.create(5, -3, 24, nullptr, FillBytes, 0x7E, 0));
    EXPECT_EQ(image.infoHeader()->biHeight, -3);
    EXPECT_EQ(image.size(), 54u + 16 * 3);
    for (std::uint32_t i = 0; i < 16 * 3; ++i)
        ASSERT_EQ(image.bits()[i], 0x7E) << i;
}

TEST(DibCreateTest, PaletteOfTwentyIsRecordedWithItsCount) {
    PaletteHandle palette = makePalette(20);
    DibImage image;
    ASSERT_TRUE(image.create(6, 2, 8, palette.get(), FillNone, 0, 0));
    EXPECT_EQ(image.infoHeader()->biClrUsed, 20u);
    EXPECT_EQ(image.fileHeader()->bfOffBits, 134u);
    EXPECT_EQ(image.size(), 134u + 8 * 2);
    EXPECT_EQ(image.colorTable(), reinterpret_cast<RGBQUAD*>(image.data() + 54));
    for (int i = 0; i < 20; ++i) {
        PALETTEENTRY expected = paletteColour(i);
        const RGBQUAD& entry = image.colorTable()[i];
        EXPECT_EQ(entry.rgbRed, expected.peRed) << i;
        EXPECT_EQ(entry.rgbGreen, expected.peGreen) << i;
        EXPECT_EQ(entry.rgbBlue, expected.peBlue) << i;
        EXPECT_EQ(entry.rgbReserved, 0) << i;
    }
    ASSERT_NE(image.palette(), nullptr) << "made from the colour table";
    EXPECT_NE(image.palette(), palette.get());
    EXPECT_EQ(paletteSize(image.palette()), 20u);
    PALETTEENTRY made[20];
    ASSERT_EQ(GetPaletteEntries(image.palette(), 0, 20, made), 20u);
    EXPECT_EQ(made[19].peRed, paletteColour(19).peRed);
    EXPECT_EQ(made[19].peBlue, paletteColour(19).peBlue);
}

TEST(DibCreateTest, FullAndOversizedPalettesTakeTheDepthsEntries) {
    for (int count : {256, 300}) {
        PaletteHandle palette = makePalette(count);
        DibImage image;
        ASSERT_TRUE(image.create(6, 2, 8, palette.get(), FillNone, 0, 0)) << count;
        EXPECT_EQ(image.infoHeader()->biClrUsed, 0u) << "a full table is recorded as 0";
        EXPECT_EQ(image.fileHeader()->bfOffBits, 1078u) << count;
        EXPECT_EQ(image.size(), 1078u + 8 * 2) << count;
        EXPECT_EQ(image.colorTable()[255].rgbRed, 255) << count;
        EXPECT_EQ(image.colorTable()[255].rgbBlue, paletteColour(255).peBlue) << count;
        EXPECT_EQ(paletteSize(image.palette()), 256u) << count;
    }
    // Four bits index 16 of 20 entries.
    PaletteHandle palette = makePalette(20);
    DibImage image;
    ASSERT_TRUE(image.create(6, 2, 4, palette.get(), FillNone, 0, 0));
    EXPECT_EQ(image.infoHeader()->biClrUsed, 0u);
    EXPECT_EQ(image.fileHeader()->bfOffBits, 54u + 64);
    EXPECT_EQ(paletteSize(image.palette()), 16u);
}

TEST(DibCreateTest, WithoutPaletteThereIsNoColourTable) {
    DibImage image;
    ASSERT_TRUE(image.create(6, 2, 8, nullptr, FillNone, 0, 0));
    EXPECT_EQ(image.fileHeader()->bfOffBits, 54u);
    EXPECT_EQ(image.palette(), nullptr);
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(image.colorTable()), image.bits());
}

TEST(DibCreateTest, PaletteTheDepthCannotIndexFails) {
    PaletteHandle twoHundred = makePalette(200);
    for (std::uint16_t bitCount : {2, 3, 5, 6, 7}) {
        DibImage image;
        ASSERT_TRUE(image.create(2, 2, 24, nullptr, FillNone, 0, 0));
        EXPECT_FALSE(image.create(6, 2, bitCount, twoHundred.get(), FillNone, 0, 0)) << bitCount;
        EXPECT_EQ(image.errorCode(), DIB_ERROR_PALETTE) << bitCount;
        expectEmpty(image);
    }
    PaletteHandle three = makePalette(3);
    DibImage image;
    EXPECT_TRUE(image.create(6, 2, 2, three.get(), FillNone, 0, 0)) << "2 bits index 3 entries";
    EXPECT_EQ(image.infoHeader()->biClrUsed, 3u);
    PaletteHandle hundred = makePalette(100);
    EXPECT_TRUE(image.create(6, 2, 7, hundred.get(), FillNone, 0, 0)) << "7 bits index 100";
    EXPECT_EQ(image.infoHeader()->biClrUsed, 100u);
}

TEST(DibCreateTest, FillPixelsWritesEachDepthsPixelValue) {
    DibImage image;
    ASSERT_TRUE(image.create(5, 3, 24, nullptr, FillPixels, 0x000000FF, 0));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* pixel = image.bits() + y * image.stride() + 3 * x;
            ASSERT_EQ(pixel[0], 0x00) << x << "," << y;
            ASSERT_EQ(pixel[1], 0x00) << x << "," << y;
            ASSERT_EQ(pixel[2], 0xFF) << x << "," << y;
        }
    ASSERT_TRUE(image.create(5, 3, 24, nullptr, FillPixels, 0x00123456, 0));
    EXPECT_EQ(image.bits()[image.stride() + 12], 0x12);
    EXPECT_EQ(image.bits()[image.stride() + 13], 0x34);
    EXPECT_EQ(image.bits()[image.stride() + 14], 0x56);

    ASSERT_TRUE(image.create(3, 2, 16, nullptr, FillPixels, 0xABCD7C1F, 0));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint16_t pixel;
            std::memcpy(&pixel, image.bits() + y * image.stride() + 2 * x, 2);
            ASSERT_EQ(pixel, 0x7C1F) << x << "," << y;
        }

    ASSERT_TRUE(image.create(3, 2, 32, nullptr, FillPixels, 0x00112233, 0));
    for (int i = 0; i < 6; ++i) {
        std::uint32_t pixel;
        std::memcpy(&pixel, image.bits() + 4 * i, 4);
        ASSERT_EQ(pixel, 0x00112233u) << i;
    }

    // Up to 8 bits every byte takes the value, the row padding included.
    ASSERT_TRUE(image.create(3, 2, 8, nullptr, FillPixels, 0x1A2B3C4D, 0));
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(image.bits()[i], 0x4D) << i;
}

TEST(DibCreateTest, FillBytesCoversThePaddingToo) {
    DibImage image;
    ASSERT_TRUE(image.create(5, 3, 24, nullptr, FillBytes, 0x1C9, 0));
    ASSERT_EQ(image.size(), 54u + 16 * 3);
    for (std::uint32_t i = 0; i < 16 * 3; ++i)
        ASSERT_EQ(image.bits()[i], 0xC9) << i;
}

namespace {
// A 24-bit image whose pixel (x, y), y from the top, is (x, y, x + y) in red, green, blue.
void makeCoordinateImage(DibImage& image, int width, int height) {
    ASSERT_TRUE(image.create(width, height, 24, nullptr, FillNone, 0, 0));
    for (int y = 0; y < height; ++y) {
        auto* row = const_cast<std::uint8_t*>(pictureRow(image, y));
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x + y);
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = static_cast<std::uint8_t>(x);
        }
    }
}
} // namespace

TEST(DibCreateTest, FillCopyTakesTheSourcesTopLeftRegion) {
    DibImage source;
    makeCoordinateImage(source, 7, 5);
    DibImage copy;
    ASSERT_TRUE(
        copy.create(4, 3, 24, nullptr, FillCopy, reinterpret_cast<std::uintptr_t>(&source), 0));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* pixel = pictureRow(copy, y) + 3 * x;
            ASSERT_EQ(pixel[2], x) << x << "," << y;
            ASSERT_EQ(pixel[1], y) << x << "," << y;
            ASSERT_EQ(pixel[0], x + y) << x << "," << y;
        }
}

TEST(DibCreateTest, FillCopyKeepsTheLastPixelsOfAPartialByte) {
    DibImage source;
    ASSERT_TRUE(source.create(16, 2, 1, nullptr, FillBytes, 0xFF, 0));
    DibImage copy;
    ASSERT_TRUE(
        copy.create(9, 2, 1, nullptr, FillCopy, reinterpret_cast<std::uintptr_t>(&source), 0));
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(copy.bits()[y * copy.stride()], 0xFF) << y;
        EXPECT_EQ(copy.bits()[y * copy.stride() + 1] & 0x80, 0x80) << "the ninth pixel, row " << y;
    }
}

TEST(DibCreateTest, FillCopyFromAnUnfitSourceCopiesNothingAndStillSucceeds) {
    DibImage source;
    ASSERT_TRUE(source.create(4, 4, 24, nullptr, FillBytes, 0xC3, 0));
    DibImage empty;
    struct Case {
        const char* why;
        int width;
        int height;
        std::uint16_t bitCount;
        const DibImage* from;
    };
    const Case cases[] = {{"another depth", 4, 4, 32, &source},
                          {"wider than the source", 5, 4, 24, &source},
                          {"taller than the source", 4, 5, 24, &source},
                          {"an empty source", 4, 4, 24, &empty},
                          {"no source", 4, 4, 24, nullptr}};
    for (const Case& c : cases) {
        DibImage copy;
        ASSERT_TRUE(copy.create(c.width, c.height, c.bitCount, nullptr, FillCopy,
                                reinterpret_cast<std::uintptr_t>(c.from), 0))
            << c.why;
        EXPECT_EQ(copy.errorCode(), MEMBLOCK_ERROR_NONE) << c.why;
        // A fresh private heap delivers zeroed pages: none of the source's bytes arrived.
        EXPECT_NE(copy.bits()[0], 0xC3) << c.why;
    }
}
