#include "raster/mem_block.h"
#include "platform/kernel_handles.h"

#include <cstring>

MemBlock::~MemBlock() {
    release();
}

void MemBlock::release() {
    if (data_) {
        if (heap_) {
            // The heap belongs to this block alone: destroying it frees the block.
            HeapDestroy(heap_);
        } else if (mapping_) {
            UnmapViewOfFile(data_);
            CloseHandle(mapping_);
        } else if (globalHandle_) {
            GlobalUnlock(globalHandle_);
            GlobalFree(globalHandle_);
        } else {
            VirtualFree(data_, 0, MEM_RELEASE);
        }
    }
    data_ = nullptr;
    size_ = 0;
    errorCode_ = MEMBLOCK_ERROR_NONE;
    existed_ = 0;
    heap_ = nullptr;
    mapping_ = nullptr;
    globalHandle_ = nullptr;
}

std::uint8_t* MemBlock::allocateRaw(std::uint32_t byteCount, const AllocStrategy* strategy) {
    if (byteCount == 0) {
        errorCode_ = MEMBLOCK_ERROR_NO_MEMORY;
        return nullptr;
    }
    if (!strategy)
        strategy = &DefaultAllocStrategy;
    existed_ = 0;
    std::int32_t kind = strategy->kind;
    if (kind == AllocAuto)
        kind = byteCount > kAutoHeapLimit ? AllocVirtual : AllocPrivateHeap;

    void* memory = nullptr;
    switch (kind) {
    case AllocPrivateHeap:
        heap_ = HeapCreate(0, byteCount, 0);
        if (!heap_)
            break;
        memory = HeapAlloc(heap_, 0, byteCount);
        if (!memory) {
            HeapDestroy(heap_);
            heap_ = nullptr;
        }
        break;
    case AllocVirtual:
        memory = VirtualAlloc(nullptr, byteCount, MEM_COMMIT, PAGE_READWRITE);
        break;
    case AllocSharedMapping:
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, byteCount,
                                      strategy->name);
        if (!mapping_)
            break;
        if (GetLastError() == ERROR_ALREADY_EXISTS)
            existed_ = 1;
        memory = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
        if (!memory) {
            CloseHandle(mapping_);
            mapping_ = nullptr;
            existed_ = 0;
        }
        break;
    default:
        break;
    }
    if (!memory)
        errorCode_ = MEMBLOCK_ERROR_NO_MEMORY;
    return static_cast<std::uint8_t*>(memory);
}

bool MemBlock::allocate(std::uint32_t size, int fillMode, std::uint8_t fillByte,
                        const AllocStrategy* strategy) {
    release();
    // The extra byte would wrap the count to 0.
    if (size == UINT32_MAX) {
        errorCode_ = MEMBLOCK_ERROR_NO_MEMORY;
        return false;
    }
    data_ = allocateRaw(size + 1, strategy);
    if (!data_)
        return false;
    if (existed_) {
        size = queryAllocatedSize();
    } else {
        // Nothing reads the extra byte; it is zeroed so that it never carries old data.
        data_[size] = 0;
    }
    if (fillMode == 1)
        std::memset(data_, fillByte, size);
    size_ = size;
    return true;
}

std::uint32_t MemBlock::queryAllocatedSize() const {
    if (!data_)
        return 0;
    SIZE_T bytes = 0;
    if (heap_) {
        bytes = HeapSize(heap_, 0, data_);
        if (bytes == static_cast<SIZE_T>(-1))
            bytes = 0;
    } else if (globalHandle_) {
        bytes = GlobalSize(globalHandle_);
    } else {
        MEMORY_BASIC_INFORMATION info = {};
        if (VirtualQuery(data_, &info, sizeof info) == sizeof info)
            bytes = info.RegionSize;
    }
    return bytes > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(bytes);
}

bool MemBlock::spans(const void* first, std::uint64_t length) const {
    auto begin = reinterpret_cast<std::uintptr_t>(data_);
    auto at = reinterpret_cast<std::uintptr_t>(first);
    if (!first || !data_ || at < begin || at - begin > size_)
        return false;
    return length <= size_ - (at - begin);
}

bool MemBlock::writeTo(HANDLE file, bool withHeader, std::uint32_t, std::uintptr_t) {
    DWORD written = 0;
    if (withHeader) {
        std::uint8_t header[kContainerHeaderSize];
        std::memcpy(header, kContainerTag, 4);
        std::memcpy(header + 4, &size_, 4);
        if (!WriteFile(file, header, kContainerHeaderSize, &written, nullptr) ||
            written != kContainerHeaderSize)
            return false;
    }
    written = 0;
    return WriteFile(file, data_, size_, &written, nullptr) && written == size_;
}

bool MemBlock::readFrom(HANDLE file, bool withHeader, ReadPlacement placement,
                        const AllocStrategy* strategy, std::uintptr_t) {
    // The file's length without moving its position; 64-bit so that a file of 4 GiB or
    // more is seen as one and refused rather than wrapped.
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position = {};
    LARGE_INTEGER end = {};
    if (!SetFilePointerEx(file, zero, &position, FILE_CURRENT))
        return false;
    if (!SetFilePointerEx(file, zero, &end, FILE_END))
        return false;
    SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    std::uint64_t count = static_cast<std::uint64_t>(end.QuadPart);
    std::uint64_t remaining = end.QuadPart > position.QuadPart
                                  ? static_cast<std::uint64_t>(end.QuadPart - position.QuadPart)
                                  : 0;

    if (withHeader) {
        std::uint8_t header[kContainerHeaderSize];
        DWORD read = 0;
        if (!ReadFile(file, header, kContainerHeaderSize, &read, nullptr) ||
            read != kContainerHeaderSize || std::memcmp(header, kContainerTag, 4) != 0)
            return false;
        std::uint32_t length = 0;
        std::memcpy(&length, header + 4, 4);
        count = length;
        remaining -= kContainerHeaderSize;
    }

    release();
    // A count the file cannot deliver would fail at the read anyway; refusing it first
    // spares allocating whatever a damaged length field claims.
    if (count > remaining)
        return false;
    std::uint64_t total = count + placement.extraBytes;
    if (total > UINT32_MAX) {
        errorCode_ = MEMBLOCK_ERROR_NO_MEMORY;
        return false;
    }
    data_ = allocateRaw(static_cast<std::uint32_t>(total), strategy);
    if (!data_)
        return false;
    size_ = existed_ ? queryAllocatedSize() : static_cast<std::uint32_t>(total);
    if (placement.offset + count > size_) {
        release();
        return false;
    }
    DWORD read = 0;
    if (!ReadFile(file, data_ + placement.offset, static_cast<DWORD>(count), &read, nullptr) ||
        read != count) {
        release();
        return false;
    }
    return true;
}

bool MemBlock::saveToFile(const char* path, bool overwrite, bool withHeader, bool keepErrorMode,
                          std::uintptr_t context) {
    UINT previousMode = 0;
    if (!keepErrorMode)
        previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Cleared before each step, so that a step that fails without a code of its own (a
    // part that does not lie in the block) does not report an older one.
    SetLastError(ERROR_SUCCESS);
    KernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr,
                                  overwrite ? CREATE_ALWAYS : CREATE_NEW,
                                  FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr));
    bool written = false;
    if (file) {
        SetLastError(ERROR_SUCCESS);
        written = writeTo(file.get(), withHeader, 0xFFFFFFFF, context);
    }
    // Taken before the file is closed, which could replace it.
    const DWORD failure = GetLastError();
    file.reset();
    if (!written)
        errorCode_ = failure ? failure : MEMBLOCK_ERROR_NO_MEMORY;
    if (!keepErrorMode)
        SetErrorMode(previousMode);
    return written;
}
