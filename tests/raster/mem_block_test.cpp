#include "raster/mem_block.h"
#include "tests/raster/raster_test_helpers.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr AllocStrategy kHeap = {AllocPrivateHeap, nullptr};
constexpr AllocStrategy kVirtual = {AllocVirtual, nullptr};
constexpr AllocStrategy kUnnamedMapping = {AllocSharedMapping, nullptr};

// A mapping name no other test program uses.
std::string mappingName(const char* what) {
    return "Local\\orvik-raster-test-" + std::to_string(GetCurrentProcessId()) + "-" + what;
}

void expectEmpty(const MemBlock& block) {
    EXPECT_EQ(block.data(), nullptr);
    EXPECT_EQ(block.size(), 0u);
    EXPECT_FALSE(block.existed());
    EXPECT_EQ(block.queryAllocatedSize(), 0u);
}

} // namespace

TEST(MemBlockTest, NewAndReleasedBlocksAreEmptyWithoutError) {
    MemBlock block;
    expectEmpty(block);
    EXPECT_EQ(block.errorCode(), MEMBLOCK_ERROR_NONE);
    ASSERT_TRUE(block.allocate(64, 0, 0, nullptr));
    block.release();
    expectEmpty(block);
    EXPECT_EQ(block.errorCode(), MEMBLOCK_ERROR_NONE);
}

TEST(MemBlockTest, EveryBlockHasOneUncountedByteMore) {
    MemBlock block;
    ASSERT_TRUE(block.allocate(0, 0, 0, nullptr)) << "size 0 still obtains the extra byte";
    EXPECT_NE(block.data(), nullptr);
    EXPECT_EQ(block.size(), 0u);
    EXPECT_EQ(block.queryAllocatedSize(), 1u);

    ASSERT_TRUE(block.allocate(10, 0, 0, &kHeap));
    EXPECT_EQ(block.size(), 10u);
    EXPECT_EQ(block.queryAllocatedSize(), 11u);
}

TEST(MemBlockTest, AutomaticChoiceSwitchesToPagesAboveTwoMebibytes) {
    MemBlock block;
    // Up to the threshold (the extra byte included) a heap reports the exact count...
    ASSERT_TRUE(block.allocate(0x1FFFFF, 0, 0, nullptr));
    EXPECT_EQ(block.queryAllocatedSize(), 0x200000u);
    // ...and one byte more goes to committed pages, reported whole.
    ASSERT_TRUE(block.allocate(0x200000, 0, 0, nullptr));
    EXPECT_EQ(block.size(), 0x200000u);
    EXPECT_EQ(block.queryAllocatedSize(), roundUpToPages(0x200001));
}

TEST(MemBlockTest, VirtualMemoryReportsWholePagesWhileSizeStaysAsAsked) {
    MemBlock block;
    ASSERT_TRUE(block.allocate(10, 0, 0, &kVirtual));
    EXPECT_EQ(block.size(), 10u);
    EXPECT_EQ(block.queryAllocatedSize(), pageSize());
}

TEST(MemBlockTest, FillCoversTheSizeButNotTheExtraByte) {
    for (const AllocStrategy* strategy : {&kHeap, &kVirtual, &kUnnamedMapping}) {
        MemBlock block;
        ASSERT_TRUE(block.allocate(100, 1, 0xAB, strategy)) << strategy->kind;
        for (std::uint32_t i = 0; i < 100; ++i)
            ASSERT_EQ(block.data()[i], 0xAB) << strategy->kind << " byte " << i;
        EXPECT_NE(block.data()[100], 0xAB) << strategy->kind;
    }
}

TEST(MemBlockTest, NamedMappingIsSharedWithASecondBlockOfTheSameName) {
    const std::string name = mappingName("shared");
    const AllocStrategy named = {AllocSharedMapping, name.c_str()};
    MemBlock first;
    ASSERT_TRUE(first.allocate(100, 1, 0x5A, &named));
    EXPECT_FALSE(first.existed());
    EXPECT_EQ(first.size(), 100u);

    MemBlock second;
    ASSERT_TRUE(second.allocate(10, 0, 0, &named));
    EXPECT_TRUE(second.existed());
    EXPECT_EQ(second.size(), pageSize()) << "the whole existing view, not the 10 asked for";
    EXPECT_EQ(second.data()[99], 0x5A) << "the first block's bytes";
    second.data()[0] = 0x11;
    EXPECT_EQ(first.data()[0], 0x11) << "a write through one block is seen by the other";

    // Filling on opening overwrites the shared content.
    ASSERT_TRUE(second.allocate(10, 1, 0x77, &named));
    EXPECT_TRUE(second.existed());
    EXPECT_EQ(first.data()[0], 0x77);
    EXPECT_EQ(first.data()[99], 0x77);

    // Once every block has let go, the name opens a new, separate mapping.
    first.release();
    second.release();
    MemBlock third;
    ASSERT_TRUE(third.allocate(10, 0, 0, &named));
    EXPECT_FALSE(third.existed());
    EXPECT_EQ(third.size(), 10u);
}

TEST(MemBlockTest, UnnamedMappingsAreSeparate) {
    MemBlock first;
    MemBlock second;
    ASSERT_TRUE(first.allocate(16, 1, 0x01, &kUnnamedMapping));
    ASSERT_TRUE(second.allocate(16, 1, 0x02, &kUnnamedMapping));
    EXPECT_FALSE(second.existed());
    EXPECT_NE(first.data(), second.data());
    EXPECT_EQ(first.data()[0], 0x01);
    EXPECT_EQ(first.queryAllocatedSize(), pageSize());
}

TEST(MemBlockTest, FailedAllocationLeavesAnEmptyBlockAndTheCodeUntilTheNextSuccess) {
    MemBlock block;
    ASSERT_TRUE(block.allocate(32, 1, 0xEE, nullptr));
    const AllocStrategy unknown = {4, nullptr};
    EXPECT_FALSE(block.allocate(32, 0, 0, &unknown));
    expectEmpty(block);
    EXPECT_EQ(block.errorCode(), MEMBLOCK_ERROR_NO_MEMORY);

    // The extra byte must not wrap the largest count into a zero-byte request.
    ASSERT_TRUE(block.allocate(8, 0, 0, nullptr));
    EXPECT_FALSE(block.allocate(UINT32_MAX, 0, 0, nullptr));
    expectEmpty(block);
    EXPECT_EQ(block.errorCode(), MEMBLOCK_ERROR_NO_MEMORY);

    ASSERT_TRUE(block.allocate(4, 0, 0, nullptr));
    EXPECT_EQ(block.errorCode(), MEMBLOCK_ERROR_NONE);
}
