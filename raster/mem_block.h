#pragma once
#include <windows.h>
#include <cstdint>

// The error codes a block (and a DIB image built on one) keeps. Any other value is a
// platform error code left by a failed save.
inline constexpr std::uint32_t MEMBLOCK_ERROR_NONE = 0x20000000;
inline constexpr std::uint32_t MEMBLOCK_ERROR_NO_MEMORY = 0x20000001;
inline constexpr std::uint32_t DIB_ERROR_LAYOUT = 0x20000002;
inline constexpr std::uint32_t DIB_ERROR_PALETTE = 0x20000004;
inline constexpr std::uint32_t DIB_ERROR_CAPTURE = 0x20000007;

// Where a block's memory comes from.
enum AllocKind : std::int32_t {
    AllocAuto = 0,          // a private heap up to 2 MiB, virtual memory above
    AllocPrivateHeap = 1,   // a heap of its own, destroyed whole
    AllocVirtual = 2,       // committed pages
    AllocSharedMapping = 3, // a paging-file mapping, named (shared) or unnamed
};

struct AllocStrategy {
    std::int32_t kind;
    const char* name; // the mapping's name for AllocSharedMapping; null: unnamed
};

inline constexpr std::uint32_t kAutoHeapLimit = 0x200000;
inline constexpr AllocStrategy DefaultAllocStrategy = {AllocAuto, nullptr};

// How a read lays the file's bytes into the new block: they start at offset, and the
// block has extraBytes bytes beyond their count.
struct ReadPlacement {
    std::uint32_t offset;
    std::uint32_t extraBytes;
};

// The "MEMC" container header: tag, then the data length, little-endian.
inline constexpr char kContainerTag[4] = {'M', 'E', 'M', 'C'};
inline constexpr DWORD kContainerHeaderSize = 8;

// One block of memory with the platform object that owns it and an error code. Failures
// are results of 0 (false) with a code in errorCode(); nothing throws.
class MemBlock {
  public:
    MemBlock() = default;
    virtual ~MemBlock();
    MemBlock(const MemBlock&) = delete;
    MemBlock& operator=(const MemBlock&) = delete;

    // Replaces the block's content with the file's data from the current position: the
    // rest of the file, or with the header the length the header gives. An open handle
    // is left open. context is for derived blocks.
    virtual bool readFrom(HANDLE file, bool withHeader, ReadPlacement placement,
                          const AllocStrategy* strategy, std::uintptr_t context);
    // Writes the block (after a "MEMC" header when asked). partMask and context are for
    // derived blocks.
    virtual bool writeTo(HANDLE file, bool withHeader, std::uint32_t partMask,
                         std::uintptr_t context);

    // Frees the memory through its owner and resets every field, the error code included.
    void release();
    // A new block of size bytes (plus one unused byte beyond them); fillMode 1 fills the
    // size bytes with fillByte. A shared mapping that already existed keeps its own
    // (whole-page) size.
    bool allocate(std::uint32_t size, int fillMode, std::uint8_t fillByte,
                  const AllocStrategy* strategy);
    // The size of the allocation as the platform reports it; 0 when empty.
    std::uint32_t queryAllocatedSize() const;
    // Creates the file (replacing one only with overwrite) and writes the block to it.
    // Unless keepErrorMode, the platform's error message boxes are off meanwhile.
    bool saveToFile(const char* path, bool overwrite, bool withHeader, bool keepErrorMode,
                    std::uintptr_t context);

    // Whether length bytes from first lie wholly inside the block (first not null).
    bool spans(const void* first, std::uint64_t length) const;

    std::uint8_t* data() const { return data_; }
    std::uint32_t size() const { return size_; }
    std::uint32_t errorCode() const { return errorCode_; }
    bool existed() const { return existed_ != 0; }

  protected:
    // A pointer to byteCount new bytes, with the owning handle recorded; null (and
    // MEMBLOCK_ERROR_NO_MEMORY) on failure. Does not free what the block held.
    std::uint8_t* allocateRaw(std::uint32_t byteCount, const AllocStrategy* strategy);
    void setErrorCode(std::uint32_t code) { errorCode_ = code; }

  private:
    std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t errorCode_ = MEMBLOCK_ERROR_NONE;
    std::uint32_t existed_ = 0;
    HANDLE heap_ = nullptr;
    HANDLE mapping_ = nullptr;
    HGLOBAL globalHandle_ = nullptr;
};
