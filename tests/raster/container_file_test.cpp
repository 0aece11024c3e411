#include "platform/quiet_file_errors.h"
#include "raster/mem_block.h"
#include "tests/raster/raster_test_helpers.h"
#include "tests/support/temp_folder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

class ContainerFileTest : public testing::Test {
  protected:
    TempFolder folder;

    // A block holding the given bytes.
    static void fill(MemBlock& block, const Bytes& bytes) {
        ASSERT_TRUE(block.allocate(static_cast<std::uint32_t>(bytes.size()), 0, 0, nullptr));
        std::memcpy(block.data(), bytes.data(), bytes.size());
    }
    static Bytes content(const MemBlock& block) {
        return Bytes(block.data(), block.data() + block.size());
    }
    // A file of the bytes, opened for reading at its start.
    KernelHandle fileOf(const Bytes& bytes, const char* name = "in.bin") {
        std::string path = folder.file(name);
        writeFileBytes(path, bytes);
        return openForRead(path);
    }
    static Bytes container(std::uint32_t length, const Bytes& data) {
        Bytes bytes = {'M', 'E', 'M', 'C'};
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(length >> shift));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return bytes;
    }
};

const Bytes kFive = {0x10, 0x20, 0x30, 0x40, 0x50};

} // namespace

TEST_F(ContainerFileTest, HeaderIsTagThenLengthThenTheData) {
    MemBlock block;
    fill(block, kFive);
    std::string path = folder.file("out.memc");
    {
        KernelHandle file = createForWrite(path);
        ASSERT_TRUE(block.writeTo(file.get(), true, 0, 0));
    }
    EXPECT_EQ(readFileBytes(path), container(5, kFive));
    {
        KernelHandle file = createForWrite(path);
        ASSERT_TRUE(block.writeTo(file.get(), false, 0, 0));
    }
    EXPECT_EQ(readFileBytes(path), kFive) << "without the header, the data alone";
}

TEST_F(ContainerFileTest, ReadBackGivesTheSameBytesWithAndWithoutHeader) {
    MemBlock block;
    KernelHandle withHeader = fileOf(container(5, kFive), "with.memc");
    ASSERT_TRUE(block.readFrom(withHeader.get(), true, {0, 0}, nullptr, 0));
    EXPECT_EQ(content(block), kFive);

    KernelHandle raw = fileOf(kFive, "raw.bin");
    ASSERT_TRUE(block.readFrom(raw.get(), false, {0, 0}, nullptr, 0));
    EXPECT_EQ(content(block), kFive);
}

TEST_F(ContainerFileTest, ContainersFollowOneAnotherInOneFile) {
    Bytes bytes = container(5, kFive);
    Bytes second = container(2, {0xAA, 0xBB});
    bytes.insert(bytes.end(), second.begin(), second.end());
    KernelHandle file = fileOf(bytes);
    MemBlock block;
    ASSERT_TRUE(block.readFrom(file.get(), true, {0, 0}, nullptr, 0));
    EXPECT_EQ(content(block), kFive);
    ASSERT_TRUE(block.readFrom(file.get(), true, {0, 0}, nullptr, 0));
    EXPECT_EQ(content(block), (Bytes{0xAA, 0xBB}));
    EXPECT_FALSE(block.readFrom(file.get(), true, {0, 0}, nullptr, 0)) << "nothing is left";
}

TEST_F(ContainerFileTest, WrongTagKeepsThePreviousContent) {
    MemBlock block;
    fill(block, {1, 2, 3});
    std::uint8_t* before = block.data();
    Bytes bytes = container(5, kFive);
    bytes[3] = 'X';
    KernelHandle file = fileOf(bytes);
    EXPECT_FALSE(block.readFrom(file.get(), true, {0, 0}, nullptr, 0));
    EXPECT_EQ(block.data(), before);
    EXPECT_EQ(content(block), (Bytes{1, 2, 3}));

    KernelHandle shortFile = fileOf({'M', 'E', 'M'}, "short.bin");
    EXPECT_FALSE(block.readFrom(shortFile.get(), true, {0, 0}, nullptr, 0));
    EXPECT_EQ(content(block), (Bytes{1, 2, 3}));
}

TEST_F(ContainerFileTest, LengthBeyondTheFileEmptiesTheBlock) {
    for (std::uint32_t length : {6u, 0x10000u, 0xFFFFFFFFu}) {
        MemBlock block;
        fill(block, {1, 2, 3});
        KernelHandle file = fileOf(container(length, kFive));
        EXPECT_FALSE(block.readFrom(file.get(), true, {0, 0}, nullptr, 0)) << length;
        EXPECT_EQ(block.data(), nullptr) << length;
        EXPECT_EQ(block.size(), 0u) << length;
        EXPECT_EQ(block.errorCode(), MEMBLOCK_ERROR_NONE) << length;
    }
}

TEST_F(ContainerFileTest, PlacementPutsTheDataInsideALargerBlock) {
    KernelHandle file = fileOf(container(5, kFive));
    MemBlock block;
    ASSERT_TRUE(block.readFrom(file.get(), true, {2, 4}, nullptr, 0));
    ASSERT_EQ(block.size(), 9u);
    EXPECT_EQ(Bytes(block.data() + 2, block.data() + 7), kFive);
}

TEST_F(ContainerFileTest, PlacementsThatDoNotFitEmptyTheBlock) {
    // offset beyond the extra bytes; an offset that wraps 32 bits when the count is added;
    // extra bytes that wrap the block's size.
    const ReadPlacement placements[] = {
        {4, 2}, {0xFFFFFFFE, 0}, {0xFFFFFFF0, 0x20}, {0, 0xFFFFFFFF}};
    for (const ReadPlacement& placement : placements) {
        KernelHandle file = fileOf(container(5, kFive));
        MemBlock block;
        fill(block, {9});
        EXPECT_FALSE(block.readFrom(file.get(), true, placement, nullptr, 0))
            << placement.offset << "+" << placement.extraBytes;
        EXPECT_EQ(block.data(), nullptr) << placement.offset << "+" << placement.extraBytes;
        EXPECT_EQ(block.size(), 0u);
    }
}

TEST_F(ContainerFileTest, RawReadTakesTheWholeFileSoItFailsAwayFromTheStart) {
    KernelHandle file = fileOf(kFive);
    SetFilePointer(file.get(), 2, nullptr, FILE_BEGIN);
    MemBlock block;
    EXPECT_FALSE(block.readFrom(file.get(), false, {0, 0}, nullptr, 0));
    EXPECT_EQ(block.data(), nullptr);
}

TEST_F(ContainerFileTest, ReadIntoAnExistingSharedMappingThatIsTooSmallFails) {
    std::string name = "Local\\orvik-raster-read-" + std::to_string(GetCurrentProcessId());
    const AllocStrategy named = {AllocSharedMapping, name.c_str()};
    MemBlock holder;
    ASSERT_TRUE(holder.allocate(16, 1, 0, &named));
    // The existing mapping is one page; a file larger than that cannot go into it.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    Bytes large(info.dwPageSize + 1, 0x42);
    KernelHandle file = fileOf(large);
    MemBlock block;
    EXPECT_FALSE(block.readFrom(file.get(), false, {0, 0}, &named, 0));
    EXPECT_EQ(block.data(), nullptr);

    KernelHandle small = fileOf(kFive, "small.bin");
    ASSERT_TRUE(block.readFrom(small.get(), false, {0, 0}, &named, 0));
    EXPECT_TRUE(block.existed());
    EXPECT_EQ(block.size(), info.dwPageSize);
    EXPECT_EQ(holder.data()[4], 0x50) << "read through the shared view";
}

TEST_F(ContainerFileTest, WritingToAReadOnlyHandleFails) {
    MemBlock block;
    fill(block, kFive);
    KernelHandle file = fileOf(kFive);
    EXPECT_FALSE(block.writeTo(file.get(), true, 0, 0));
    EXPECT_FALSE(block.writeTo(file.get(), false, 0, 0));
}

TEST_F(ContainerFileTest, SaveWithoutOverwriteLeavesAnExistingFileAlone) {
    std::string path = folder.file("saved.bin");
    writeFileBytes(path, {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'});
    MemBlock block;
    fill(block, kFive);
    EXPECT_FALSE(block.saveToFile(path.c_str(), false, false, false, 0));
    EXPECT_EQ(block.errorCode(), static_cast<std::uint32_t>(ERROR_FILE_EXISTS));
    EXPECT_EQ(readFileBytes(path), (Bytes{'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'}));

    // With overwrite the longer old file is cut to the new content.
    ASSERT_TRUE(block.saveToFile(path.c_str(), true, true, false, 0));
    EXPECT_EQ(readFileBytes(path), container(5, kFive));
    EXPECT_TRUE(nobodyHoldsFile(path)) << "the file is closed";

    std::string fresh = folder.file("fresh.bin");
    ASSERT_TRUE(block.saveToFile(fresh.c_str(), false, false, false, 0));
    EXPECT_EQ(readFileBytes(fresh), kFive);
}

TEST_F(ContainerFileTest, SaveFailureKeepsThePlatformCodeAndRestoresTheErrorMode) {
    UINT before = SetErrorMode(0);
    SetErrorMode(before);
    MemBlock block;
    fill(block, kFive);
    std::string missingFolder = folder.file("missing\\out.bin");
    EXPECT_FALSE(block.saveToFile(missingFolder.c_str(), true, false, false, 0));
    EXPECT_EQ(block.errorCode(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetErrorMode(), before);

    std::string held = folder.file("held.bin");
    KernelHandle holder = createForWrite(held);
    EXPECT_FALSE(block.saveToFile(held.c_str(), true, false, true, 0));
    EXPECT_EQ(block.errorCode(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(GetErrorMode(), before);

    ASSERT_TRUE(block.saveToFile(folder.file("ok.bin").c_str(), true, false, false, 0));
    EXPECT_EQ(GetErrorMode(), before);
}

// While the saver writes its wallpaper, this thread alone puts up no box for a failing
// drive; the process keeps its mode.
TEST(QuietFileErrorsTest, QuietensThisThreadAloneAndRestoresItsMode) {
    using GetThreadModeFn = DWORD(WINAPI*)();
    const auto threadMode =
        findExport<GetThreadModeFn>(GetModuleHandleA("kernel32.dll"), "GetThreadErrorMode");
    ASSERT_NE(threadMode, nullptr);
    const DWORD processBefore = GetErrorMode();
    const DWORD threadBefore = threadMode();
    {
        const QuietFileErrors quiet;
        EXPECT_EQ(threadMode() & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
                  DWORD{SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
        EXPECT_EQ(GetErrorMode(), processBefore) << "the whole process was quietened";
    }
    EXPECT_EQ(threadMode(), threadBefore);
}
