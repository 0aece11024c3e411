#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Bytes in pages of their own between two inaccessible (PAGE_NOACCESS) pages. They end
// exactly where the upper guard begins, or start exactly where the lower one ends, so that
// touching one byte past that edge faults at once instead of passing unnoticed.
class GuardedBuffer {
  public:
    enum Edge { AgainstEnd, AgainstStart };
    enum Access { Writable, ReadOnly };

    // A copy of size bytes (any writes to a ReadOnly copy fault too).
    GuardedBuffer(const void* bytes, std::size_t size, Edge edge = AgainstEnd,
                  Access access = Writable);
    // size bytes, each fill.
    GuardedBuffer(std::size_t size, std::uint8_t fill, Edge edge = AgainstEnd);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    std::uint8_t* data() const { return data_; }
    char* text() const { return reinterpret_cast<char*>(data_); }
    std::size_t size() const { return size_; }
    const char* end() const { return text() + size_; }

  private:
    void place(std::size_t size, Edge edge);

    std::uint8_t* region_ = nullptr;
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t innerBytes_ = 0;
};

// While one lives, an unhandled fault (such as a touched guard page) prints the fault and
// the last note it was given, naming the input being parsed, and ends the program with the
// fault's code. A randomized test would otherwise die without saying which input did it.
class FaultNote {
  public:
    FaultNote();
    ~FaultNote();
    FaultNote(const FaultNote&) = delete;
    FaultNote& operator=(const FaultNote&) = delete;

    void set(std::string note);
};
