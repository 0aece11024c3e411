#include "raster/bmp_from_pixels.h"
#include "raster/dib_image.h"
#include "raster/pixel_view.h"
#include "tests/raster/raster_test_helpers.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture with a known colour everywhere: a background, one marked column, and four
// corners of their own.
struct TestPicture {
    int width;
    int height;
    int column;

    COLORREF colourAt(int x, int y) const {
        if (x == 0 && y == 0)
            return RGB(255, 0, 0);
        if (x == width - 1 && y == 0)
            return RGB(0, 255, 0);
        if (x == 0 && y == height - 1)
            return RGB(0, 0, 255);
        if (x == width - 1 && y == height - 1)
            return RGB(10, 20, 30);
        if (x == column)
            return RGB(1, 2, 3);
        return RGB(200, 100, 50);
    }

    // Paints the picture with GDI into the bitmap selected in dc.
    void paint(HDC dc) const {
        BrushHandle background(CreateSolidBrush(RGB(200, 100, 50)));
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, background.get());
        BrushHandle line(CreateSolidBrush(RGB(1, 2, 3)));
        RECT columnRect = {column, 0, column + 1, height};
        FillRect(dc, &columnRect, line.get());
        for (POINT corner :
             {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}})
            SetPixel(dc, corner.x, corner.y, colourAt(corner.x, corner.y));
    }
};

class BmpFileTest : public testing::Test {
  protected:
    TempFolder folder;

    // Captures the bitmap while it is still selected into the painting DC, as the
    // wallpaper hand-off does, and saves it; returns the file's bytes.
    Bytes captureAndSave(HBITMAP bitmap, const TestPicture& picture) {
        DibImage image;
        EXPECT_TRUE(image.captureBitmap(bitmap, picture.width, picture.height));
        std::string path = folder.file("wallpaper.bmp");
        EXPECT_TRUE(image.save(path.c_str(), true, false));
        return readFileBytes(path);
    }

    static void expectWallpaperFile(const Bytes& file, const TestPicture& picture,
                                    std::uint32_t expectedLength) {
        const std::uint32_t stride = (3 * picture.width + 3) / 4 * 4;
        ASSERT_EQ(file.size(), expectedLength);
        ASSERT_EQ(expectedLength, 54 + stride * picture.height);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(dword32(file, 2), expectedLength) << "bfSize";
        EXPECT_EQ(word16(file, 6), 0) << "bfReserved1";
        EXPECT_EQ(word16(file, 8), 0) << "bfReserved2";
        EXPECT_EQ(dword32(file, 10), 54u) << "bfOffBits";
        EXPECT_EQ(dword32(file, 14), 40u) << "biSize";
        EXPECT_EQ(dword32(file, 18), std::uint32_t(picture.width)) << "biWidth";
        EXPECT_EQ(dword32(file, 22), std::uint32_t(picture.height)) << "biHeight";
        EXPECT_EQ(word16(file, 26), 1) << "biPlanes";
        EXPECT_EQ(word16(file, 28), 24) << "biBitCount";
        EXPECT_EQ(dword32(file, 30), 0u) << "biCompression";
        std::uint32_t sizeImage = dword32(file, 34);
        EXPECT_TRUE(sizeImage == 0 || sizeImage == stride * picture.height) << sizeImage;
        EXPECT_EQ(dword32(file, 38), 0u) << "biXPelsPerMeter";
        EXPECT_EQ(dword32(file, 42), 0u) << "biYPelsPerMeter";
        EXPECT_EQ(dword32(file, 46), 0u) << "biClrUsed";
        EXPECT_EQ(dword32(file, 50), 0u) << "biClrImportant";

        // Bottom row first; blue, green, red.
        int wrong = 0;
        for (int y = 0; y < picture.height && wrong < 5; ++y) {
            std::size_t row = 54 + std::size_t(stride) * (picture.height - 1 - y);
            for (int x = 0; x < picture.width && wrong < 5; ++x) {
                COLORREF expected = picture.colourAt(x, y);
                const std::uint8_t* pixel = &file[row + 3 * std::size_t(x)];
                if (pixel[0] != GetBValue(expected) || pixel[1] != GetGValue(expected) ||
                    pixel[2] != GetRValue(expected)) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << int(pixel[2]) << ","
                                  << int(pixel[1]) << "," << int(pixel[0]);
                    ++wrong;
                }
            }
        }
    }
};

} // namespace

// Written from a capture and straight from the pixels, the files are the same bytes.
TEST_F(BmpFileTest, OddSizedDibSectionIsWrittenWithPaddedBottomUpRows) {
    for (const TestPicture& picture :
         {TestPicture{1023, 767, 511}, TestPicture{1, 1, 0}, TestPicture{3, 2, 1}}) {
        TopDownBitmap bitmap = makeDibSection(picture.width, picture.height);
        ASSERT_TRUE(bitmap);
        MemoryDC dc(nullptr);
        SelectedObject selected(dc.get(), bitmap.get());
        picture.paint(dc.get());
        GdiFlush();
        const std::uint32_t stride = (3 * picture.width + 3) / 4 * 4;
        const Bytes captured = captureAndSave(bitmap.get(), picture);
        expectWallpaperFile(captured, picture, 54 + stride * picture.height);

        const PixelView pixels = topDownPixelsOf(dc.get());
        const std::string streamed = folder.file("streamed.bmp");
        ASSERT_TRUE(writePixelsAsBmp(pixels, picture.width, picture.height, streamed.c_str()));
        EXPECT_EQ(readFileBytes(streamed), captured) << picture.width << " x " << picture.height;
        EXPECT_FALSE(writePixelsAsBmp(pixels, picture.width + 1, picture.height, streamed.c_str()))
            << "wider than the picture";
    }
}

TEST_F(BmpFileTest, ScreenCompatibleBitmapIsWrittenWithoutPadding) {
    const TestPicture picture{1024, 768, 700};
    WindowDC screen(nullptr);
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), picture.width, picture.height));
    ASSERT_TRUE(bitmap);
    MemoryDC dc(screen.get());
    SelectedObject selected(dc.get(), bitmap.get());
    picture.paint(dc.get());
    GdiFlush();
    expectWallpaperFile(captureAndSave(bitmap.get(), picture), picture, 2359350);
}

TEST_F(BmpFileTest, SaveReplacesOnlyWhenAskedTo) {
    DibImage image;
    TopDownBitmap bitmap = makeDibSection(3, 2);
    ASSERT_TRUE(image.captureBitmap(bitmap.get(), 3, 2));
    std::string path = folder.file("existing.bmp");
    const Bytes old(5000, 0x55);
    writeFileBytes(path, old);

    EXPECT_FALSE(image.save(path.c_str(), false, false));
    EXPECT_EQ(image.errorCode(), static_cast<std::uint32_t>(ERROR_FILE_EXISTS));
    EXPECT_EQ(readFileBytes(path), old);

    ASSERT_TRUE(image.save(path.c_str(), true, false));
    EXPECT_EQ(readFileBytes(path).size(), 54u + 12 * 2) << "the old, longer file is replaced";
    EXPECT_TRUE(nobodyHoldsFile(path));
}

// A failed save keeps the code of the step that failed, never one left over from before:
// opening an existing file with CREATE_ALWAYS leaves ERROR_ALREADY_EXISTS behind, and a
// write that the image refuses itself has no platform code at all.
TEST_F(BmpFileTest, FailedSaveReportsTheStepThatFailed) {
    struct Case {
        const char* why;
        bool existing;
        bool spoilHeader;
        const char* name;
        std::uint32_t expected;
    } cases[] = {
        {"no such folder", false, false, "missing\\wall.bmp",
         static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND)},
        {"header beyond the block, new file", false, true, "new.bmp", MEMBLOCK_ERROR_NO_MEMORY},
        {"header beyond the block, existing file", true, true, "old.bmp", MEMBLOCK_ERROR_NO_MEMORY},
    };
    for (const Case& c : cases) {
        DibImage image;
        TopDownBitmap bitmap = makeDibSection(3, 2);
        ASSERT_TRUE(image.captureBitmap(bitmap.get(), 3, 2)) << c.why;
        if (c.spoilHeader)
            image.infoHeader()->biSize = 0x7FFFFFFF;
        const std::string path = folder.file(c.name);
        if (c.existing)
            writeFileBytes(path, Bytes(10, 1));
        SetLastError(ERROR_OUTOFMEMORY);
        EXPECT_FALSE(image.save(path.c_str(), true, false)) << c.why;
        EXPECT_EQ(image.errorCode(), c.expected) << c.why;
    }
}

TEST_F(BmpFileTest, CaptureThatCannotCreateOrReadReportsIt) {
    TopDownBitmap bitmap = makeDibSection(4, 4);
    DibImage image;
    EXPECT_FALSE(image.captureBitmap(bitmap.get(), 0, 0));
    EXPECT_EQ(image.errorCode(), DIB_ERROR_CAPTURE);
    EXPECT_FALSE(image.captureBitmap(bitmap.get(), 0, 4));
    EXPECT_EQ(image.errorCode(), DIB_ERROR_CAPTURE) << "replaces the layout code";
    EXPECT_EQ(image.data(), nullptr);

    // The image is made, but no row can be read from a bitmap that is not there.
    EXPECT_FALSE(image.captureBitmap(nullptr, 4, 4));
    EXPECT_EQ(image.errorCode(), MEMBLOCK_ERROR_NONE);
}

TEST_F(BmpFileTest, CaptureLeavesTheBitmapAsItWas) {
    std::uint32_t* pixels = nullptr;
    TopDownBitmap bitmap = makeDibSection(5, 3, &pixels);
    for (int i = 0; i < 15; ++i)
        pixels[i] = rgb(static_cast<std::uint8_t>(16 * i), 7, static_cast<std::uint8_t>(255 - i));
    Pixels before = readPixels(bitmap.get());
    DibImage image;
    ASSERT_TRUE(image.captureBitmap(bitmap.get(), 5, 3));
    EXPECT_EQ(readPixels(bitmap.get()).values, before.values);
    // Top row of the picture is the last row in the image.
    const std::uint8_t* top = image.bits() + 2 * image.stride();
    EXPECT_EQ(top[3 * 4 + 2], 16 * 4);
    EXPECT_EQ(top[3 * 4 + 1], 7);
    EXPECT_EQ(top[3 * 4 + 0], 255 - 4);
}
