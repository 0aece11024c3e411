#include "raster/dib_image.h"
#include "tests/raster/raster_test_helpers.h"
#include "tests/support/temp_folder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

class DibParseWriteTest : public testing::Test {
  protected:
    TempFolder folder;

    // What writeTo with the mask puts into a new file; nullopt-like empty + false result.
    Bytes written(DibImage& image, std::uint32_t mask, bool expectSuccess = true) {
        std::string path = folder.file("part.bin");
        {
            KernelHandle file = createForWrite(path);
            EXPECT_EQ(image.writeTo(file.get(), true, mask, 0), expectSuccess) << mask;
        }
        return readFileBytes(path);
    }

    // The image's block replaced by the bytes, then laid out afresh.
    static bool parseBytes(DibImage& image, const Bytes& bytes) {
        image.detach();
        if (!image.allocate(static_cast<std::uint32_t>(bytes.size()), 0, 0, nullptr))
            return false;
        std::memcpy(image.data(), bytes.data(), bytes.size());
        return image.parse(image.data(), 0);
    }

    static void putDword(Bytes& bytes, std::size_t offset, std::uint32_t value) {
        std::memcpy(bytes.data() + offset, &value, 4);
    }
    static void putWord(Bytes& bytes, std::size_t offset, std::uint16_t value) {
        std::memcpy(bytes.data() + offset, &value, 2);
    }
};

} // namespace

TEST_F(DibParseWriteTest, FilesReadInAreWrittenOutByteForByte) {
    for (const char* name : {"split24.bmp", "palette.bmp"}) {
        SCOPED_TRACE(name);
        Bytes original = readFileBytes(fixturePath(name));
        DibImage image;
        KernelHandle file = openForRead(fixturePath(name));
        ASSERT_TRUE(image.readFrom(file.get(), false, {0, 0}, nullptr, 0));
        EXPECT_EQ(image.size(), original.size());
        EXPECT_EQ(written(image, 0xFFFFFFFF), original);
    }
    DibImage image;
    KernelHandle file = openForRead(fixturePath("palette.bmp"));
    ASSERT_TRUE(image.readFrom(file.get(), false, {0, 0}, nullptr, 0));
    EXPECT_EQ(GetPaletteEntries(image.palette(), 0, 0, nullptr), 16u);
    EXPECT_EQ(image.stride(), 8u);
    EXPECT_EQ(image.colorMask(), 0xFu);
    PALETTEENTRY second;
    ASSERT_EQ(GetPaletteEntries(image.palette(), 1, 1, &second), 1u);
    EXPECT_EQ(second.peRed, image.colorTable()[1].rgbRed);
    EXPECT_EQ(second.peGreen, image.colorTable()[1].rgbGreen);
}

TEST_F(DibParseWriteTest, ReadingOverAnImageMovesItsPartsToTheNewMemory) {
    DibImage image;
    ASSERT_TRUE(image.create(40, 40, 32, nullptr, FillPixels, 0x00ABCDEF, 0));
    KernelHandle file = openForRead(fixturePath("split24.bmp"));
    ASSERT_TRUE(image.readFrom(file.get(), false, {0, 0}, nullptr, 0));
    EXPECT_EQ(image.fileHeader(), reinterpret_cast<BITMAPFILEHEADER*>(image.data()));
    EXPECT_EQ(image.infoHeader()->biWidth, 13);
    EXPECT_EQ(image.bits(), image.data() + 54);

    // Bytes that are no image leave no parts behind to write from.
    KernelHandle text = openForRead(folder.writeFile("text.bin", std::string(200, 'x')));
    EXPECT_FALSE(image.readFrom(text.get(), false, {0, 0}, nullptr, 0));
    EXPECT_EQ(image.fileHeader(), nullptr);
    EXPECT_EQ(image.bits(), nullptr);
    EXPECT_TRUE(written(image, DIB_PART_BITS, false).empty());
}

TEST_F(DibParseWriteTest, ARefusedContainerHeaderKeepsTheImageWhereverItWasRead) {
    const Bytes picture = readFileBytes(fixturePath("split24.bmp"));
    // A container of the picture, then the damaged header ("ME\rC", length 57) that lost
    // an image read to an offset: its parts were laid over the block's start instead.
    Bytes bytes = {'M', 'E', 'M', 'C', 0, 0, 0, 0};
    putDword(bytes, 4, static_cast<std::uint32_t>(picture.size()));
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    const Bytes refused = {'M', 'E', '\r', 'C', 57, 0, 0, 0};
    bytes.insert(bytes.end(), refused.begin(), refused.end());
    bytes.resize(bytes.size() + 57, 0x42);
    const std::string path = folder.writeFile("two.memc", std::string(bytes.begin(), bytes.end()));
    // No offset, one byte, and the one with which it was found (the rest of a page).
    for (std::uint32_t offset : {0u, 1u, 4039u}) {
        SCOPED_TRACE(offset);
        DibImage image;
        KernelHandle file = openForRead(path);
        ASSERT_TRUE(image.readFrom(file.get(), true, {offset, offset}, nullptr, 0));
        const BITMAPFILEHEADER* header = image.fileHeader();
        ASSERT_EQ(static_cast<void*>(image.fileHeader()), image.data() + offset);
        const std::uint8_t* bits = image.bits();
        EXPECT_FALSE(image.readFrom(file.get(), true, {offset, offset}, nullptr, 0));
        EXPECT_EQ(image.fileHeader(), header);
        EXPECT_EQ(image.bits(), bits);
        ASSERT_NE(image.infoHeader(), nullptr);
        EXPECT_EQ(image.infoHeader()->biWidth, 13);
    }
}

TEST_F(DibParseWriteTest, PartMasksSelectWhatIsWritten) {
    PaletteHandle palette = makePalette(20);
    DibImage image;
    ASSERT_TRUE(image.create(6, 2, 8, palette.get(), FillBytes, 0x33, 0));
    const Bytes whole(image.data(), image.data() + image.size());

    EXPECT_EQ(written(image, DIB_PART_INFO_HEADER), Bytes(whole.begin() + 14, whole.begin() + 54));
    EXPECT_TRUE(written(image, 0).empty());
    EXPECT_EQ(written(image, DIB_PART_COLOR_TABLE), Bytes(whole.begin() + 54, whole.begin() + 134));
    EXPECT_TRUE(written(image, DIB_PART_MASKS).empty()) << "BI_RGB has no masks";
    Bytes headerAndBits(whole.begin(), whole.begin() + 14);
    headerAndBits.insert(headerAndBits.end(), whole.begin() + 134, whole.end());
    EXPECT_EQ(written(image, DIB_PART_FILE_HEADER | DIB_PART_BITS), headerAndBits);
    EXPECT_EQ(written(image, 0xFFFFFFFF), whole);

    ASSERT_TRUE(image.create(3, 2, 16, nullptr, FillNone, 0, 0));
    EXPECT_EQ(written(image, DIB_PART_MASKS), Bytes(image.data() + 54, image.data() + 66));
    EXPECT_TRUE(written(image, DIB_PART_COLOR_TABLE).empty()) << "no palette, no table";
    EXPECT_EQ(written(image, DIB_PART_BITS).size(), 8u * 2);
}

TEST_F(DibParseWriteTest, AnEmptyImageWritesNothing) {
    DibImage image;
    EXPECT_TRUE(written(image, 0).empty());
    EXPECT_TRUE(written(image, 0xFFFFFFFF, false).empty());
    EXPECT_TRUE(written(image, DIB_PART_BITS, false).empty());
    // Released under its parts: they point nowhere now.
    ASSERT_TRUE(image.create(3, 3, 24, nullptr, FillNone, 0, 0));
    image.release();
    EXPECT_TRUE(written(image, 0xFFFFFFFF, false).empty());
}

TEST_F(DibParseWriteTest, WritingToAReadOnlyHandleFails) {
    DibImage image;
    ASSERT_TRUE(image.create(3, 3, 24, nullptr, FillNone, 0, 0));
    KernelHandle file = openForRead(fixturePath("split24.bmp"));
    EXPECT_FALSE(image.writeTo(file.get(), false, DIB_PART_FILE_HEADER, 0));
}

TEST_F(DibParseWriteTest, ParseRefusesWhatIsNoSupportedBitmap) {
    const Bytes good = readFileBytes(fixturePath("split24.bmp"));
    DibImage image;
    ASSERT_TRUE(parseBytes(image, good));

    Bytes notBm = good;
    notBm[0] = 'B';
    notBm[1] = 'A';
    EXPECT_FALSE(parseBytes(image, notBm)) << "not BM";
    Bytes core = good;
    putDword(core, 14, 12);
    EXPECT_FALSE(parseBytes(image, core)) << "core header";
    for (std::uint32_t compression : {4u, 5u, 6u}) {
        Bytes compressed = good;
        putDword(compressed, 30, compression);
        EXPECT_FALSE(parseBytes(image, compressed)) << compression;
    }
    for (std::uint32_t compression : {0u, 1u, 2u, 3u}) {
        Bytes bytes = good;
        putDword(bytes, 30, compression);
        EXPECT_TRUE(parseBytes(image, bytes)) << compression;
    }
    EXPECT_FALSE(parseBytes(image, Bytes(good.begin(), good.begin() + 30))) << "cut headers";
}

TEST_F(DibParseWriteTest, HeadersClaimingMoreThanTheBlockAreRefused) {
    const Bytes good = readFileBytes(fixturePath("split24.bmp")); // 13 x 7, 24 bits
    struct Case {
        const char* why;
        std::size_t offset;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"more rows", 22, 8},
        {"rows far beyond", 22, 0x7FFFFFFF},
        {"wider rows", 18, 14},
        {"a width that wraps 32 bits", 18, 0x40000001},
        {"pixels start past the end", 10, 400},
        {"pixels start far past the end", 10, 0xFFFFFFF0},
        {"a header larger than the block", 14, 0x10000},
    };
    for (const Case& c : cases) {
        Bytes bytes = good;
        putDword(bytes, c.offset, c.value);
        DibImage image;
        EXPECT_FALSE(parseBytes(image, bytes)) << c.why;
        EXPECT_TRUE(written(image, DIB_PART_BITS, false).empty()) << c.why;
    }
    // A 4-bit picture whose colour table claims 65535 entries.
    Bytes table = readFileBytes(fixturePath("palette.bmp"));
    putDword(table, 46, 0xFFFF);
    DibImage tableImage;
    EXPECT_FALSE(parseBytes(tableImage, table));
    EXPECT_EQ(tableImage.palette(), nullptr);

    // The same rows read top-down fit.
    Bytes topDown = good;
    putDword(topDown, 22, static_cast<std::uint32_t>(-7));
    DibImage image;
    EXPECT_TRUE(parseBytes(image, topDown));
    EXPECT_EQ(written(image, DIB_PART_BITS).size(), 40u * 7);
}

TEST_F(DibParseWriteTest, ZeroBitCountAndZeroHeightDoNotDivideByZero) {
    Bytes bytes = readFileBytes(fixturePath("split24.bmp"));
    putWord(bytes, 28, 0);   // biBitCount
    putDword(bytes, 22, 0);  // biHeight
    putDword(bytes, 34, 16); // biSizeImage
    DibImage image;
    ASSERT_TRUE(parseBytes(image, bytes));
    EXPECT_EQ(image.stride(), 0u);
    EXPECT_EQ(written(image, DIB_PART_BITS).size(), 16u) << "biSizeImage bytes";
}

TEST_F(DibParseWriteTest, RunLengthImagesGetTheirImageSizeFilledIn) {
    PaletteHandle palette = makePalette(256);
    DibImage image;
    ASSERT_TRUE(image.create(10, 4, 8, palette.get(), FillBytes, 0, 0));
    image.infoHeader()->biCompression = BI_RLE8;
    ASSERT_TRUE(image.parse(image.data(), 0));
    EXPECT_EQ(image.infoHeader()->biSizeImage, 12u * 4);
}
