#include "raster/picture_file.h"
#include "tests/raster/raster_test_helpers.h"
#include "tests/support/captured_picture.h"
#include "tests/support/claiming_pictures.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace {

using Bytes = std::vector<std::uint8_t>;

class PictureFileTest : public testing::Test {
  protected:
    ComInitialization com;
    TempFolder folder;

    // Loads a file that must be refused, and checks that it was closed again.
    void expectRefused(const std::string& path, const char* why) {
        BitmapHandle bitmap(loadPictureFile(path.c_str()));
        EXPECT_FALSE(bitmap) << why;
        if (fileExists(path)) {
            EXPECT_TRUE(nobodyHoldsFile(path)) << why << ": the file was left open";
            EXPECT_TRUE(DeleteFileA(path.c_str())) << why;
        }
    }

    static void expectDibSectionOfSize(HBITMAP bitmap, int width, int height) {
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), int(sizeof section))
            << "a DIB section";
        EXPECT_EQ(section.dsBm.bmWidth, width);
        EXPECT_EQ(section.dsBm.bmHeight, height);
    }
};

} // namespace

TEST_F(PictureFileTest, BmpGifAndJpegDecodeAtTheirOwnSize) {
    BitmapHandle bmp(loadPictureFile(fixturePath("split24.bmp").c_str()));
    ASSERT_TRUE(bmp);
    expectDibSectionOfSize(bmp.get(), 13, 7);
    Pixels pixels = readPixels(bmp.get());
    EXPECT_EQ(pixels.at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(pixels.at(5, 6), rgb(255, 0, 0));
    EXPECT_EQ(pixels.at(6, 0), rgb(0, 0, 255));
    EXPECT_EQ(pixels.at(12, 6), rgb(0, 0, 255));

    BitmapHandle table(loadPictureFile(fixturePath("palette.bmp").c_str()));
    ASSERT_TRUE(table);
    expectDibSectionOfSize(table.get(), 10, 6);
    pixels = readPixels(table.get());
    EXPECT_EQ(pixels.at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(pixels.at(9, 0), rgb(0, 0, 0));
    EXPECT_EQ(pixels.at(9, 5), rgb(0, 255, 0)) << "the bottom row stays at the bottom";

    BitmapHandle gif(loadPictureFile(fixturePath("split.gif").c_str()));
    ASSERT_TRUE(gif);
    expectDibSectionOfSize(gif.get(), 19, 11);
    pixels = readPixels(gif.get());
    EXPECT_EQ(pixels.at(0, 0), rgb(0, 255, 0));
    EXPECT_EQ(pixels.at(8, 10), rgb(0, 255, 0));
    EXPECT_EQ(pixels.at(9, 0), rgb(255, 255, 0));

    BitmapHandle jpeg(loadPictureFile(fixturePath("split.jpg").c_str()));
    ASSERT_TRUE(jpeg);
    expectDibSectionOfSize(jpeg.get(), 37, 23);
    pixels = readPixels(jpeg.get());
    // Lossy: near the colours, away from the edge between them.
    EXPECT_TRUE(nearColour(colorRef(pixels.at(2, 2)), RGB(255, 0, 0), 24))
        << std::hex << pixels.at(2, 2);
    EXPECT_TRUE(nearColour(colorRef(pixels.at(34, 20)), RGB(0, 0, 255), 24))
        << std::hex << pixels.at(34, 20);
}

TEST_F(PictureFileTest, ReturnedBitmapsAreIndependentOfEachOther) {
    std::string path = fixturePath("split.gif");
    HBITMAP first = loadPictureFile(path.c_str());
    HBITMAP second = loadPictureFile(path.c_str());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    DeleteObject(first);
    BitmapHandle kept(second);
    Pixels pixels = readPixels(kept.get());
    ASSERT_EQ(pixels.width, 19);
    EXPECT_EQ(pixels.at(18, 10), rgb(255, 255, 0));
    EXPECT_TRUE(nobodyHoldsFile(path));
}

TEST_F(PictureFileTest, MissingEmptyAndNonPictureFilesGiveNull) {
    EXPECT_EQ(loadPictureFile(nullptr), nullptr);
    expectRefused(folder.file("missing.bmp"), "missing file");
    expectRefused(folder.file("no-folder\\missing.bmp"), "missing folder");
    expectRefused(folder.writeFile("empty.jpg", ""), "zero-length file");
    expectRefused(folder.writeFile("text.jpg", "This is a text file, not a picture.\r\n"),
                  "text named .jpg");
}

TEST_F(PictureFileTest, JpegCutBeforeItsFrameHeaderGivesNull) {
    Bytes jpeg = readFileBytes(fixturePath("split.jpg"));
    // Start of image and the first table only: no frame to decode. (Wine can still decode
    // a JPEG cut inside its scan data, so such a cut is no dependable failure.)
    std::string path = folder.file("cut.jpg");
    writeFileBytes(path, Bytes(jpeg.begin(), jpeg.begin() + 20));
    expectRefused(path, "truncated JPEG");
}

TEST_F(PictureFileTest, FileOfFourGibibytesIsRefusedBeforeReading) {
    // A sparse file that starts with a valid picture and is 4 GiB longer: its low 32 bits
    // of size are the picture's own length, so reading that much would decode it.
    Bytes bmp = readFileBytes(fixturePath("split24.bmp"));
    std::string path = folder.file("huge.bmp");
    {
        KernelHandle file = createForWrite(path);
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), bmp.data(), DWORD(bmp.size()), &written, nullptr));
        LARGE_INTEGER end;
        end.QuadPart = 0x100000000LL + bmp.size();
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes));
    ASSERT_EQ(attributes.nFileSizeHigh, 1u);
    ASSERT_EQ(attributes.nFileSizeLow, bmp.size());
    expectRefused(path, "4 GiB file");
}

TEST_F(PictureFileTest, FileHeldOpenForWritingGivesNullUntilItIsClosed) {
    std::string path = folder.file("busy.bmp");
    writeFileBytes(path, readFileBytes(fixturePath("split24.bmp")));
    {
        KernelHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_EQ(loadPictureFile(path.c_str()), nullptr);
    }
    BitmapHandle bitmap(loadPictureFile(path.c_str()));
    EXPECT_TRUE(bitmap) << "readable once the writer has gone";
    EXPECT_TRUE(nobodyHoldsFile(path));
}

TEST_F(PictureFileTest, RefusedFilesLeaveNoMemoryBehindAndTheFileClosed) {
    // A file of 8 MiB that is no picture: each attempt reads it whole into memory.
    std::string path = folder.file("large.jpg");
    {
        Bytes text(8 << 20, 'x');
        writeFileBytes(path, text);
    }
    const std::string good = fixturePath("split.jpg");
    // Warm up, so that what the decoder sets up once is not counted.
    EXPECT_EQ(loadPictureFile(path.c_str()), nullptr);
    DeleteObject(loadPictureFile(good.c_str()));

    const SIZE_T memoryBefore = processMemory();
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(loadPictureFile(path.c_str()), nullptr);
        DeleteObject(loadPictureFile(good.c_str()));
    }
    // Sixteen leaked blocks would be 128 MiB.
    EXPECT_LT(processMemory(), memoryBefore + (40u << 20));
    EXPECT_TRUE(nobodyHoldsFile(path));
}

TEST_F(PictureFileTest, PicturesInMemoryDecodeAsTheirFilesDo) {
    for (const char* name : {"split24.bmp", "palette.bmp", "split.gif", "split.jpg"}) {
        SCOPED_TRACE(name);
        const Bytes bytes = readFileBytes(fixturePath(name));
        BitmapHandle fromFile(loadPictureFile(fixturePath(name).c_str()));
        BitmapHandle fromMemory(loadPictureFromMemory(bytes.data(), DWORD(bytes.size())));
        ASSERT_TRUE(fromFile);
        ASSERT_TRUE(fromMemory);
        const Pixels filePixels = readPixels(fromFile.get());
        expectDibSectionOfSize(fromMemory.get(), filePixels.width, filePixels.height);
        EXPECT_EQ(readPixels(fromMemory.get()).values, filePixels.values);
    }
    const Bytes gif = readFileBytes(fixturePath("split.gif"));
    EXPECT_EQ(loadPictureFromMemory(nullptr, 10), nullptr);
    EXPECT_EQ(loadPictureFromMemory(gif.data(), 0), nullptr);
    const std::string text = "This is a text, not a picture.";
    EXPECT_EQ(loadPictureFromMemory(text.data(), DWORD(text.size())), nullptr);
}

TEST_F(PictureFileTest, RefusedBytesInMemoryLeaveNoMemoryBehind) {
    // 8 MiB that are no picture: each attempt copies them into a block of their own.
    const Bytes text(8 << 20, 'x');
    const Bytes good = readFileBytes(fixturePath("split.jpg"));
    EXPECT_EQ(loadPictureFromMemory(text.data(), DWORD(text.size())), nullptr);
    DeleteObject(loadPictureFromMemory(good.data(), DWORD(good.size())));

    const SIZE_T memoryBefore = processMemory();
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(loadPictureFromMemory(text.data(), DWORD(text.size())), nullptr);
        DeleteObject(loadPictureFromMemory(good.data(), DWORD(good.size())));
    }
    EXPECT_LT(processMemory(), memoryBefore + (40u << 20));
}

TEST_F(PictureFileTest, DecodedPicturesLeaveNoGdiObjectsBehind) {
    {
        const unsigned before = gdiObjectCount();
        BitmapHandle one(CreateBitmap(2, 2, 1, 32, nullptr));
        ASSERT_EQ(gdiObjectCount(), before + 1) << "the count sees one bitmap more";
    }
    // Each test picture, and the JPEG (its JFIF major version byte changed) with which the
    // decoder was seen to leave the picture's own bitmap behind.
    struct Case {
        const char* name;
        int changedOffset; // -1: as committed
        std::uint8_t changedValue;
    };
    const Case cases[] = {{"split24.bmp", -1, 0},
                          {"palette.bmp", -1, 0},
                          {"split.gif", -1, 0},
                          {"split.jpg", -1, 0},
                          {"split.jpg", 11, 0x11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " changed at " + std::to_string(c.changedOffset));
        Bytes bytes = readFileBytes(fixturePath(c.name));
        if (c.changedOffset >= 0)
            bytes[c.changedOffset] = c.changedValue;
        const std::string path = folder.file("picture.bin");
        writeFileBytes(path, bytes);
        // What the decoder sets up once, on first use, is not counted.
        DeleteObject(loadPictureFile(path.c_str()));
        const unsigned before = gdiObjectCount();
        for (int i = 0; i < 3; ++i) {
            BitmapHandle fromFile(loadPictureFile(path.c_str()));
            BitmapHandle fromMemory(loadPictureFromMemory(bytes.data(), DWORD(bytes.size())));
            EXPECT_TRUE(fromFile);
            EXPECT_TRUE(fromMemory);
        }
        EXPECT_EQ(gdiObjectCount(), before);
    }
}

namespace {

Bytes split24() {
    return readFileBytes(fixturePath("split24.bmp"));
}
Bytes palette4() {
    return readFileBytes(fixturePath("palette.bmp"));
}

// 5 x 3 at 32 bits, top-down: 54 bytes of headers, then 3 rows of 20 bytes.
Bytes topDown32() {
    return makeBmp(5, -3, 32, BI_RGB, 0);
}

} // namespace

TEST_F(PictureFileTest, BitmapsClaimingPartsBeyondTheirBytesGiveNull) {
    // split24.bmp: 13 x 7 at 24 bits, headers up to byte 54, then 7 rows of 40 bytes (334).
    // palette.bmp: 10 x 6 at 4 bits, 16 colours from byte 54, pixels from 118 on (166).
    struct Case {
        const char* why;
        Bytes (*picture)();
        std::size_t offset;
        std::uint32_t value;
        std::size_t kept;  // bytes kept; 0: all
        bool lengthRecord; // after an "lt" record
    };
    const Case cases[] = {
        // With these the decoder read the pixels 1.2 GiB away and faulted.
        {"\"BM\" over the pixel offset's high half", topDown32, 10, 0x4D420036, 0, false},
        {"the same after a length record", topDown32, 10, 0x4D420036, 0, true},
        // split24's last row has 1 byte of padding, which alone may be missing.
        {"pixels from two bytes late", split24, 10, 56, 0, false},
        {"pixels from one byte late, after a length record", topDown32, 10, 55, 0, true},
        {"one row more", split24, 22, 8, 0, false},
        {"one row more, top-down", topDown32, 22, std::uint32_t(-4), 0, false},
        {"rows longer than 32 bits", split24, 18, 0x40000001, 0, false},
        {"an info header larger than the file", split24, 14, 0x10000, 0, false},
        {"a colour table past the end", palette4, 14, 140, 0, false},
        {"the last row cut short of more than its padding", split24, 0, 'B', 332, false},
        {"the info header cut short", split24, 0, 'B', 30, false},
        {"the header's size cut short", split24, 0, 'B', 17, false},
    };
    for (const Case& c : cases) {
        Bytes bytes = c.picture();
        putLittleEndian(bytes, c.offset, c.value, 4);
        if (c.kept)
            bytes.resize(c.kept);
        if (c.lengthRecord)
            bytes = withLengthRecord(bytes);
        EXPECT_EQ(loadPictureFromMemory(bytes.data(), DWORD(bytes.size())), nullptr) << c.why;
        const std::string path = folder.file("damaged.bmp");
        writeFileBytes(path, bytes);
        expectRefused(path, c.why);
    }

    // Bitmaps whose parts are all there still decode: with an OS/2 core header (3 x 2 at
    // 24 bits), with more bytes after the pixels, and after a length record.
    Bytes core = {'B', 'M', 50, 0, 0, 0, 0, 0, 0, 0, 26, 0,  0,
                  0,   12,  0,  0, 0, 3, 0, 2, 0, 1, 0,  24, 0};
    core.resize(50, 0x80);
    Bytes longer = split24();
    longer.resize(longer.size() + 100, 0xEE);
    struct Whole {
        const char* why;
        Bytes bytes;
        int width, height;
    };
    const Whole wholes[] = {{"core header", core, 3, 2},
                            {"bytes after the pixels", longer, 13, 7},
                            {"32 bits, top-down", topDown32(), 5, 3},
                            {"after a length record", withLengthRecord(topDown32()), 5, 3}};
    for (const Whole& whole : wholes) {
        BitmapHandle bitmap(loadPictureFromMemory(whole.bytes.data(), DWORD(whole.bytes.size())));
        ASSERT_TRUE(bitmap) << whole.why;
        expectDibSectionOfSize(bitmap.get(), whole.width, whole.height);
    }

    // Some tools leave out the last row's padding (1 byte of split24's): Windows shows such
    // a picture, and so does the saver, with the same pixels as the whole one.
    Bytes unpadded = split24();
    unpadded.resize(unpadded.size() - 1);
    const std::string path = folder.file("unpadded.bmp");
    writeFileBytes(path, unpadded);
    const Bytes padded = split24();
    BitmapHandle whole(loadPictureFromMemory(padded.data(), DWORD(padded.size())));
    ASSERT_TRUE(whole);
    const Picture wanted = captureBitmap(whole.get(), 13, 7);
    BitmapHandle fromFile(loadPictureFile(path.c_str()));
    BitmapHandle fromMemory(loadPictureFromMemory(unpadded.data(), DWORD(unpadded.size())));
    for (const BitmapHandle* cut : {&fromFile, &fromMemory}) {
        ASSERT_TRUE(*cut) << "a picture without its last row's padding";
        EXPECT_EQ(captureBitmap(cut->get(), 13, 7).pixels, wanted.pixels);
    }
    EXPECT_TRUE(nobodyHoldsFile(path));
}

namespace {

Bytes splitJpegClaiming(std::uint16_t width, std::uint16_t height) {
    return jpegClaiming(readFileBytes(fixturePath("split.jpg")), width, height);
}
Bytes splitGifClaiming(std::uint16_t screenWidth, std::uint16_t screenHeight, std::uint16_t left,
                       std::uint16_t width) {
    return gifClaiming(readFileBytes(fixturePath("split.gif")), screenWidth, screenHeight, left,
                       width);
}

} // namespace

TEST_F(PictureFileTest, PicturesClaimingMoreThanTheLargestAllowedAreRefusedBeforeDecoding) {
    struct Case {
        const char* why;
        Bytes bytes;
    };
    const Case cases[] = {
        {"a JPEG of 30,000 x 20,000", splitJpegClaiming(30000, 20000)},
        {"a JPEG one column wider than five 8K screens", splitJpegClaiming(38401, 100)},
        {"a JPEG one row taller than three 8K screens", splitJpegClaiming(100, 12961)},
        {"a run-length BMP of 16,000 x 16,000", bmpClaiming(16000, 16000)},
        {"a top-down BMP of 20,000 x 20,000", bmpClaiming(20000, -20000)},
        {"a GIF screen of 60,000 x 60,000", splitGifClaiming(60000, 60000, 0, 19)},
        {"a GIF image placed far past its small screen", splitGifClaiming(19, 11, 40000, 19)},
    };
    for (const Case& c : cases) {
        const SIZE_T memoryBefore = processMemory();
        EXPECT_EQ(loadPictureFromMemory(c.bytes.data(), DWORD(c.bytes.size())), nullptr) << c.why;
        const std::string path = folder.file("vast.bin");
        writeFileBytes(path, c.bytes);
        expectRefused(path, c.why);
        EXPECT_LT(processMemory(), memoryBefore + (64u << 20)) << c.why;
    }
    // Within the bound they decode as ever, the parsing of their headers notwithstanding.
    for (const Bytes& fitting : {splitJpegClaiming(37, 23), splitGifClaiming(19, 11, 0, 19)}) {
        BitmapHandle bitmap(loadPictureFromMemory(fitting.data(), DWORD(fitting.size())));
        EXPECT_TRUE(bitmap);
    }
}

TEST_F(PictureFileTest, StretchToTheSameSizeCopiesAndLeavesTheSourceAlone) {
    std::uint32_t* pixels = nullptr;
    TopDownBitmap source = makeDibSection(6, 4, &pixels);
    for (int i = 0; i < 24; ++i)
        pixels[i] = rgb(static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(255 - i), 77);
    const Pixels before = readPixels(source.get());
    WindowDC screen(nullptr);
    for (int mode : {COLORONCOLOR, HALFTONE}) {
        BitmapHandle copy(stretchBitmap(screen.get(), source.get(), 6, 4, mode));
        ASSERT_TRUE(copy) << mode;
        EXPECT_EQ(readPixels(copy.get()).values, before.values) << mode;
        EXPECT_EQ(readPixels(source.get()).values, before.values) << mode;
    }
    // The source is not left selected anywhere: it can be selected again.
    MemoryDC dc(screen.get());
    SelectedObject selected(dc.get(), source.get());
    EXPECT_TRUE(selected);
}

TEST_F(PictureFileTest, StretchGivesTheAskedSizeAndColourOnColourKeepsExactColours) {
    std::uint32_t* pixels = nullptr;
    TopDownBitmap source = makeDibSection(5, 5, &pixels);
    const std::uint32_t magenta = rgb(255, 0, 255);
    const std::uint32_t teal = rgb(0, 128, 128);
    for (int i = 0; i < 25; ++i)
        pixels[i] = (i % 5 + i / 5) % 2 ? magenta : teal;
    WindowDC screen(nullptr);
    for (SIZE size : {SIZE{13, 7}, SIZE{3, 2}, SIZE{1024, 768}}) {
        BitmapHandle stretched(
            stretchBitmap(screen.get(), source.get(), size.cx, size.cy, COLORONCOLOR));
        ASSERT_TRUE(stretched);
        Pixels result = readPixels(stretched.get());
        EXPECT_EQ(result.width, size.cx);
        EXPECT_EQ(result.height, size.cy);
        std::set<std::uint32_t> colours(result.values.begin(), result.values.end());
        for (std::uint32_t colour : colours)
            EXPECT_TRUE(colour == magenta || colour == teal) << std::hex << colour;
    }
    BitmapHandle halftone(stretchBitmap(screen.get(), source.get(), 640, 480, HALFTONE));
    ASSERT_TRUE(halftone);
    EXPECT_EQ(readPixels(halftone.get()).width, 640);
}
