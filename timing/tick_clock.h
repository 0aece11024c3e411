#pragma once
#include <windows.h>
#include <cstdint>

// A 64-bit millisecond time built from the 32-bit tick: counts one wrap between two
// readings. The tick source can be replaced to exercise the wrap.
class TickClock64 {
  public:
    using TickSource = DWORD (*)();
    explicit TickClock64(TickSource tickSource = &GetTickCount);
    virtual ~TickClock64() = default;

    std::uint64_t now();
    std::uint64_t elapsed() { return now() - start_; }

  private:
    TickSource tickSource_;
    std::uint32_t lastTick_;
    std::uint32_t wraps_ = 0;
    std::uint64_t start_;
};
