#include "tests/support/guarded_buffer.h"

#include <windows.h>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace {

std::size_t pageSize() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

} // namespace

GuardedBuffer::GuardedBuffer(const void* bytes, std::size_t size, Edge edge, Access access) {
    place(size, edge);
    if (size)
        std::memcpy(data_, bytes, size);
    DWORD previous = 0;
    if (access == ReadOnly &&
        !VirtualProtect(region_ + pageSize(), innerBytes_, PAGE_READONLY, &previous))
        throw std::runtime_error("cannot make the guarded bytes read-only");
}

GuardedBuffer::GuardedBuffer(std::size_t size, std::uint8_t fill, Edge edge) {
    place(size, edge);
    std::memset(data_, fill, size);
}

GuardedBuffer::~GuardedBuffer() {
    VirtualFree(region_, 0, MEM_RELEASE);
}

void GuardedBuffer::place(std::size_t size, Edge edge) {
    const std::size_t page = pageSize();
    // At least one page inside, so that an empty buffer still has an address of its own.
    innerBytes_ = (size + page - 1) / page * page;
    if (innerBytes_ == 0)
        innerBytes_ = page;
    region_ = static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, innerBytes_ + 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!region_)
        throw std::runtime_error("cannot allocate a guarded buffer");
    DWORD previous = 0;
    if (!VirtualProtect(region_, page, PAGE_NOACCESS, &previous) ||
        !VirtualProtect(region_ + page + innerBytes_, page, PAGE_NOACCESS, &previous)) {
        VirtualFree(region_, 0, MEM_RELEASE);
        throw std::runtime_error("cannot protect the guard pages");
    }
    data_ = edge == AgainstEnd ? region_ + page + innerBytes_ - size : region_ + page;
    size_ = size;
}

namespace {

std::string faultNote;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

LONG WINAPI reportFault(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    std::fprintf(stderr, "\nfault 0x%08lX at %p", record->ExceptionCode, record->ExceptionAddress);
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2) {
        const ULONG_PTR kind = record->ExceptionInformation[0];
        std::fprintf(stderr, " (%s %p)",
                     kind == 0   ? "reading"
                     : kind == 1 ? "writing"
                                 : "running",
                     reinterpret_cast<void*>(record->ExceptionInformation[1]));
    }
    std::fprintf(stderr, " during: %s\n", faultNote.c_str());
    std::fflush(stderr);
    // The program ends now, with the fault's code, instead of waiting for a debugger.
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

FaultNote::FaultNote() {
    previousFilter = SetUnhandledExceptionFilter(reportFault);
}

FaultNote::~FaultNote() {
    SetUnhandledExceptionFilter(previousFilter);
    previousFilter = nullptr;
    faultNote.clear();
}

void FaultNote::set(std::string note) {
    faultNote = std::move(note);
}
