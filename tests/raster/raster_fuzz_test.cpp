// Randomized tests of the raster parsers: valid samples, damaged by a fixed-seed mutator,
// must give either sound results or clean refusals, never a touch outside the buffers.
#include "raster/dib_image.h"
#include "raster/dib_layout.h"
#include "raster/mem_block.h"
#include "raster/picture_file.h"
#include "tests/raster/raster_test_helpers.h"
#include "tests/support/guarded_buffer.h"
#include "tests/support/mutator.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using Bytes = Mutator::Bytes;

// The test's own BMP arithmetic, apart from the parser's: bytes of a row of pixels, and
// rows of a height of either sign.
std::uint64_t rowBytes(std::int64_t width, std::uint32_t bitCount) {
    return static_cast<std::uint64_t>((width * bitCount + 31) / 32 * 4);
}
std::uint64_t rowCountOf(std::int32_t height) {
    return height < 0 ? static_cast<std::uint64_t>(-std::int64_t{height})
                      : static_cast<std::uint64_t>(height);
}

std::vector<Bytes> bmpSamples() {
    return {
        readFileBytes(fixturePath("split24.bmp")),
        readFileBytes(fixturePath("palette.bmp")),
        makeBmp(5, 3, 1, BI_RGB, 2),
        makeBmp(7, 4, 8, BI_RGB, 20),
        makeBmp(6, 5, 16, BI_BITFIELDS, 0),
        makeBmp(4, -3, 32, BI_BITFIELDS, 0),
        makeBmp(300, 2, 8, BI_RLE8, 256),
        makeBmp(3, 3, 32, BI_BITFIELDS, 0, 124),
        makeBmp(3, 2, 24, BI_RGB, 4),
    };
}

// The file and info header fields, and the first masks or colours after them.
const Mutator::Rules kBmpRules = {
    {{2, 4},
     {6, 2},
     {10, 4},
     {14, 4},
     {18, 4},
     {22, 4},
     {26, 2},
     {28, 2},
     {30, 4},
     {34, 4},
     {46, 4},
     {50, 4},
     {54, 4},
     {58, 4},
     {62, 4}},
    {bytesOf("BM")},
    3,
};

// Whether length bytes from first lie inside the block that starts at begin.
bool inside(const std::uint8_t* begin, std::uint64_t size, const void* first,
            std::uint64_t length) {
    const auto from = reinterpret_cast<std::uintptr_t>(begin);
    const auto at = reinterpret_cast<std::uintptr_t>(first);
    return first && begin && at >= from && at - from <= size && length <= size - (at - from);
}

// A successfully parsed image: every part where the header puts it, wholly inside the
// block, a palette exactly when there is a table, and the whole image writable.
void expectSoundImage(DibImage& image, const std::uint8_t* base, HANDLE sink) {
    const std::uint8_t* block = image.data();
    const std::uint64_t size = image.size();
    const BITMAPFILEHEADER* file = image.fileHeader();
    ASSERT_EQ(static_cast<const void*>(file), base);
    ASSERT_TRUE(inside(block, size, file, sizeof(BITMAPFILEHEADER)));
    EXPECT_EQ(file->bfType, 0x4D42);
    const std::uint8_t* infoStart = base + sizeof(BITMAPFILEHEADER);
    ASSERT_EQ(static_cast<const void*>(image.infoHeader()), infoStart);
    ASSERT_TRUE(inside(block, size, infoStart, sizeof(BITMAPINFOHEADER)));
    const BITMAPINFOHEADER& info = *image.infoHeader();
    EXPECT_TRUE(inside(block, size, infoStart, info.biSize)) << "header size " << info.biSize;
    EXPECT_NE(info.biSize, sizeof(BITMAPCOREHEADER));
    EXPECT_LE(info.biCompression, static_cast<DWORD>(BI_BITFIELDS));

    ASSERT_EQ(image.bits(), base + file->bfOffBits);
    const std::uint64_t rows = rowCountOf(info.biHeight);
    std::uint64_t pixelBytes = info.biSizeImage;
    if (info.biBitCount) {
        ASSERT_GE(info.biWidth, 0);
        pixelBytes = rowBytes(info.biWidth, info.biBitCount) * rows;
        EXPECT_EQ(image.stride(), rowBytes(info.biWidth, info.biBitCount));
    } else {
        EXPECT_EQ(image.stride(), rows ? info.biSizeImage / rows : 0);
    }
    EXPECT_TRUE(inside(block, size, image.bits(), pixelBytes))
        << "the header's " << pixelBytes << " pixel bytes do not fit";

    ASSERT_EQ(static_cast<const void*>(image.masks()), infoStart + sizeof(BITMAPINFOHEADER));
    const bool separateMasks =
        info.biCompression == BI_BITFIELDS && info.biSize == sizeof(BITMAPINFOHEADER);
    if (info.biCompression == BI_BITFIELDS) {
        EXPECT_TRUE(inside(block, size, image.masks(), 12));
    }
    const std::uint8_t* table = infoStart + info.biSize + (separateMasks ? 12 : 0);
    ASSERT_EQ(static_cast<const void*>(image.colorTable()), table);
    const std::uint32_t entries = colorTableCount(info);
    const bool hasTable = table != image.bits() && entries > 0;
    ASSERT_EQ(image.palette() != nullptr, hasTable);
    if (hasTable) {
        EXPECT_TRUE(inside(block, size, table, std::uint64_t{4} * entries));
        EXPECT_EQ(GetPaletteEntries(image.palette(), 0, 0, nullptr), entries);
    }
    EXPECT_TRUE(image.writeTo(sink, false, 0xFFFFFFFF, 0)) << "a parsed image writes itself";
}

struct Parts {
    const void* fileHeader;
    const void* infoHeader;
    const void* masks;
    const void* colorTable;
    const void* bits;
    bool palette;
    const void* data;
    bool operator==(const Parts&) const = default;
};

Parts partsOf(const DibImage& image) {
    return {image.fileHeader(), image.infoHeader(),         image.masks(), image.colorTable(),
            image.bits(),       image.palette() != nullptr, image.data()};
}

void expectNoParts(const DibImage& image) {
    EXPECT_EQ(image.fileHeader(), nullptr);
    EXPECT_EQ(image.infoHeader(), nullptr);
    EXPECT_EQ(image.masks(), nullptr);
    EXPECT_EQ(image.colorTable(), nullptr);
    EXPECT_EQ(image.bits(), nullptr);
    EXPECT_EQ(image.palette(), nullptr) << "a refused image keeps no palette";
}

// Where writeTo's output goes when only its success matters.
KernelHandle openNullDevice() {
    return KernelHandle(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
}

const AllocStrategy kPages = {AllocVirtual, nullptr};

} // namespace

TEST(DibParseFuzz, DamagedBitmapsLaidOverABlockGiveSoundPartsOrNone) {
    const std::vector<Bytes> samples = bmpSamples();
    const KernelHandle sink = openNullDevice();
    ASSERT_TRUE(sink);
    Mutator mutator(0xD1B0001);
    FaultNote note;
    const unsigned gdiBefore = gdiObjectCount();
    for (int i = 0; i < 3000; ++i) {
        const Bytes bytes = mutator.mutate(mutator.pick(samples), kBmpRules);
        // A block of whole pages (its one uncounted byte included) with the bytes at its end:
        // reading more than that byte past them faults.
        const auto size = static_cast<std::uint32_t>(roundUpToPages(bytes.size() + 1) - 1);
        DibImage image;
        ASSERT_TRUE(image.allocate(size, 1, 0xA5, &kPages));
        std::uint8_t* base = image.data() + size - bytes.size();
        if (!bytes.empty())
            std::memcpy(base, bytes.data(), bytes.size());
        const std::string what = "bitmap " + std::to_string(i) + ", " + describeBytes(bytes);
        note.set(what);
        SCOPED_TRACE(what);
        if (image.parse(base, 0))
            expectSoundImage(image, base, sink.get());
        else
            EXPECT_EQ(image.palette(), nullptr) << "a refused image keeps no palette";
        if (testing::Test::HasFailure())
            return;
    }
    EXPECT_EQ(gdiObjectCount(), gdiBefore) << "palettes left behind";
}

TEST(DibParseFuzz, DamagedBitmapsReadFromContainersGiveSoundPartsOrNone) {
    const std::vector<Bytes> samples = bmpSamples();
    const KernelHandle sink = openNullDevice();
    ASSERT_TRUE(sink);
    Mutator mutator(0xD1B0002);
    FaultNote note;

    // Every input in a container of its own, one after another in one file; some of the
    // containers' tags or lengths are damaged too.
    struct Input {
        LONGLONG at;
        Bytes bytes;
        Bytes header;
    };
    std::vector<Input> inputs;
    Bytes file;
    for (int i = 0; i < 1000; ++i) {
        Input input{static_cast<LONGLONG>(file.size()),
                    mutator.mutate(mutator.pick(samples), kBmpRules), bytesOf("MEMC....")};
        putLittleEndian(input.header, 4, static_cast<std::uint32_t>(input.bytes.size()), 4);
        if (mutator.oneIn(8))
            input.header[mutator.below(4)] ^= static_cast<std::uint8_t>(1u << mutator.below(8));
        else if (mutator.oneIn(8))
            mutator.setFieldToExtreme(input.header, {4, 4});
        file.insert(file.end(), input.header.begin(), input.header.end());
        file.insert(file.end(), input.bytes.begin(), input.bytes.end());
        inputs.push_back(std::move(input));
    }
    TempFolder folder;
    const std::string path = folder.file("bitmaps.memc");
    writeFileBytes(path, file);
    const KernelHandle reader = openForRead(path);
    ASSERT_TRUE(reader);

    const unsigned gdiBefore = gdiObjectCount();
    {
        DibImage image;
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const Input& input = inputs[i];
            LARGE_INTEGER at;
            at.QuadPart = input.at;
            ASSERT_TRUE(SetFilePointerEx(reader.get(), at, nullptr, FILE_BEGIN));
            // Placed so that the input's bytes end where the block's last page does.
            const auto pad =
                static_cast<std::uint32_t>(roundUpToPages(input.bytes.size()) - input.bytes.size());
            const std::string what = "container " + std::to_string(i) + ", header " +
                                     describeBytes(input.header) + ", pad " + std::to_string(pad) +
                                     ", " + describeBytes(input.bytes);
            note.set(what);
            SCOPED_TRACE(what);
            const Parts before = partsOf(image);
            const bool read = image.readFrom(reader.get(), true, {pad, pad}, &kPages, 0);
            if (std::memcmp(input.header.data(), "MEMC", 4) != 0) {
                EXPECT_FALSE(read);
                EXPECT_TRUE(partsOf(image) == before) << "a refused header changes the image";
            } else if (read) {
                EXPECT_EQ(image.size(), dword32(input.header, 4) + std::uint64_t{pad});
                expectSoundImage(image, image.data() + pad, sink.get());
            } else {
                expectNoParts(image);
            }
            if (testing::Test::HasFailure())
                return;
        }
    }
    EXPECT_EQ(gdiObjectCount(), gdiBefore) << "palettes left behind";
}

namespace {

Bytes container(std::uint32_t length, const Bytes& data) {
    Bytes bytes = bytesOf("MEMC....");
    putLittleEndian(bytes, 4, length, 4);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

Bytes pattern(std::size_t length) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + 7);
    return bytes;
}

std::vector<Bytes> containerSamples() {
    Bytes two = container(1, {0xAA});
    Bytes second = container(2, {0xBB, 0xCC});
    two.insert(two.end(), second.begin(), second.end());
    Bytes trailing = container(8, pattern(8));
    for (std::uint8_t byte : bytesOf("MEMC"))
        trailing.push_back(byte);
    return {container(5, {0x10, 0x20, 0x30, 0x40, 0x50}), container(0, {}),
            container(300, pattern(300)), two, trailing};
}

void replaceFileContent(HANDLE file, const Bytes& bytes) {
    ASSERT_NE(SetFilePointer(file, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
    ASSERT_TRUE(SetEndOfFile(file));
}

LONGLONG filePosition(HANDLE file) {
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position = {};
    SetFilePointerEx(file, zero, &position, FILE_CURRENT);
    return position.QuadPart;
}

} // namespace

TEST(ContainerFuzz, DamagedContainersFillTheBlockExactlyOrLeaveItAsDocumented) {
    const std::vector<Bytes> samples = containerSamples();
    // The tag's bytes, the length, and the second container's length where there is one.
    const Mutator::Rules rules = {{{4, 4}, {0, 1}, {3, 1}, {0, 4}, {13, 4}}, {bytesOf("MEMC")}, 2};
    // Placements that fit a container of any length, then ones that fit none.
    const ReadPlacement placements[] = {{0, 0},         {0, 0}, {0, 0},          {0, 0},
                                        {2, 4},         {0, 1}, {1, 1},          {0, 3},
                                        {4, 2},         {7, 0}, {0xFFFFFFFE, 0}, {0xFFFFFFF0, 0x20},
                                        {0, 0xFFFFFFFF}};
    TempFolder folder;
    const KernelHandle file = createForWrite(folder.file("containers.memc"));
    ASSERT_TRUE(file);
    Mutator mutator(0xC0417A1);
    FaultNote note;
    for (int i = 0; i < 3000; ++i) {
        const Bytes input = mutator.mutate(mutator.pick(samples), rules);
        // Read from where the file's current position is: after a few bytes of something else.
        Bytes content(mutator.below(4), 0x5A);
        content.insert(content.end(), input.begin(), input.end());
        replaceFileContent(file.get(), content);
        const LONGLONG start = static_cast<LONGLONG>(content.size() - input.size());
        LARGE_INTEGER at;
        at.QuadPart = start;
        ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN));

        const bool headerFits = input.size() >= 8 && std::memcmp(input.data(), "MEMC", 4) == 0;
        const std::uint32_t length = headerFits ? dword32(input, 4) : 0;
        ReadPlacement placement = placements[mutator.below(std::size(placements))];
        if (placement.extraBytes == 0xFFFFFFFF && length == 0)
            placement = {0, 0}; // 4 GiB of extra bytes could really be allocated

        MemBlock block;
        if (mutator.oneIn(2)) {
            ASSERT_TRUE(block.allocate(1 + mutator.below(16), 1, 0x33, nullptr));
        }
        const std::uint8_t* dataBefore = block.data();
        const Bytes contentBefore(block.data(), block.data() + block.size());

        const std::string what = "container " + std::to_string(i) + ", placement " +
                                 std::to_string(placement.offset) + "+" +
                                 std::to_string(placement.extraBytes) + ", " + describeBytes(input);
        note.set(what);
        SCOPED_TRACE(what);
        const bool read = block.readFrom(file.get(), true, placement, nullptr, 0);
        if (!headerFits) {
            EXPECT_FALSE(read);
            EXPECT_EQ(block.data(), dataBefore) << "a refused header keeps the block";
            EXPECT_EQ(Bytes(block.data(), block.data() + block.size()), contentBefore);
        } else {
            // A container of no bytes and no extra ones makes no block: nothing to allocate.
            const std::uint64_t total = std::uint64_t{length} + placement.extraBytes;
            const bool fits = length <= input.size() - 8 && total <= UINT32_MAX && total != 0 &&
                              std::uint64_t{placement.offset} + length <= total;
            EXPECT_EQ(read, fits);
            if (read) {
                EXPECT_EQ(block.size(), total);
                EXPECT_EQ(std::memcmp(block.data() + placement.offset, input.data() + 8, length),
                          0);
                EXPECT_EQ(filePosition(file.get()), start + 8 + length)
                    << "the next container follows";
            } else {
                EXPECT_EQ(block.data(), nullptr);
                EXPECT_EQ(block.size(), 0u);
                EXPECT_TRUE(block.errorCode() == MEMBLOCK_ERROR_NONE ||
                            block.errorCode() == MEMBLOCK_ERROR_NO_MEMORY)
                    << std::hex << block.errorCode();
            }
        }
        if (testing::Test::HasFailure())
            return;
    }
}

namespace {

// Size and descriptor fields of a GIF: the logical screen, then the first image's place,
// size and flags, and its code size.
std::vector<Mutator::Field> gifFields(const Bytes& gif) {
    std::vector<Mutator::Field> fields = {{6, 2}, {8, 2}, {10, 1}};
    std::size_t at = 13;
    if (gif[10] & 0x80)
        at += 3u << ((gif[10] & 7) + 1);
    while (at < gif.size() && gif[at] == 0x21) { // extensions: label, then sized blocks
        at += 2;
        while (at < gif.size() && gif[at])
            at += gif[at] + 1u;
        ++at;
    }
    if (at < gif.size() && gif[at] == 0x2C)
        for (std::size_t offset : {1, 3, 5, 7})
            fields.push_back({at + offset, 2});
    fields.push_back({at + 9, 1});
    fields.push_back({at + 10, 1});
    return fields;
}

// The segment lengths of a JPEG, and its frame's height, width and component count.
std::vector<Mutator::Field> jpegFields(const Bytes& jpeg) {
    std::vector<Mutator::Field> fields;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
        fields.push_back({at + 2, 2, true});
        if (jpeg[at + 1] >= 0xC0 && jpeg[at + 1] <= 0xC2) {
            fields.push_back({at + 5, 2, true});
            fields.push_back({at + 7, 2, true});
            fields.push_back({at + 9, 1});
        }
        at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return fields;
}

} // namespace

TEST(PictureMemoryFuzz, DamagedPicturesDecodeToRealBitmapsOrNullLeavingNothingBehind) {
    ComInitialization com;
    struct Sample {
        Bytes bytes;
        Mutator::Rules rules;
    };
    std::vector<Sample> samples;
    for (Bytes bmp :
         {readFileBytes(fixturePath("split24.bmp")), readFileBytes(fixturePath("palette.bmp")),
          makeBmp(6, 4, 8, BI_RGB, 16), makeBmp(5, -3, 32, BI_RGB, 0)})
        samples.push_back({bmp, kBmpRules});
    const Bytes gif = readFileBytes(fixturePath("split.gif"));
    samples.push_back({gif, {gifFields(gif), {}, 3}});
    const Bytes jpeg = readFileBytes(fixturePath("split.jpg"));
    samples.push_back({jpeg, {jpegFields(jpeg), {}, 3}});
    // A bitmap after an 8-byte "lt\0\0" record of its length, which the decoder passes
    // over: the record's length and the bitmap's fields, 8 bytes on.
    const Bytes recorded = withLengthRecord(makeBmp(5, -3, 32, BI_RGB, 0));
    Mutator::Rules recordRules = kBmpRules;
    for (Mutator::Field& field : recordRules.fields)
        field.offset += 8;
    recordRules.fields.push_back({4, 4});
    samples.push_back({recorded, recordRules});

    // What the decoders set up once, on first use, is not counted.
    for (const Sample& sample : samples)
        DeleteObject(loadPictureFromMemory(sample.bytes.data(),
                                           static_cast<std::uint32_t>(sample.bytes.size())));

    Mutator mutator(0x91C7F00);
    FaultNote note;
    const unsigned gdiBefore = gdiObjectCount();
    const SIZE_T memoryBefore = processMemory();
    for (int i = 0; i < 500; ++i) {
        const Sample& sample = mutator.pick(samples);
        const Bytes bytes = mutator.mutate(sample.bytes, sample.rules);
        const GuardedBuffer guarded(bytes.data(), bytes.size(), GuardedBuffer::AgainstEnd,
                                    GuardedBuffer::ReadOnly);
        const std::string what = "picture " + std::to_string(i) + ", " + describeBytes(bytes);
        note.set(what);
        SCOPED_TRACE(what);
        if (HBITMAP bitmap =
                loadPictureFromMemory(guarded.data(), static_cast<std::uint32_t>(guarded.size()))) {
            BITMAP description = {};
            EXPECT_EQ(GetObjectA(bitmap, sizeof description, &description),
                      int(sizeof description));
            EXPECT_GT(description.bmWidth, 0);
            EXPECT_GT(description.bmHeight, 0);
            EXPECT_TRUE(DeleteObject(bitmap));
        }
        EXPECT_EQ(gdiObjectCount(), gdiBefore) << "GDI objects left behind";
        if (testing::Test::HasFailure())
            return;
    }
    EXPECT_LT(processMemory(), memoryBefore + (16u << 20)) << "memory left behind";
}
