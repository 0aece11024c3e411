#pragma once
#include "platform/kernel_handles.h"
#include "platform/loaded_module.h"

#include <windows.h>
#include <cstdint>

// What the frame pacer reads and waits with: a steady time in microseconds and a wait for
// a moment of it that an event can cut short. The system's below, or a test's.
class PaceClock {
  public:
    virtual ~PaceClock() = default;
    virtual std::uint64_t nowMicroseconds() = 0;
    // Returns once the time has reached deadline (true), or once stopEvent (when given) is
    // set (false).
    virtual bool waitUntil(std::uint64_t deadline, HANDLE stopEvent) = 0;
};

// The system's: the performance counter, and waits that wake within about a millisecond
// of their deadline, not on the system tick's 15.625 ms steps: a high-resolution waitable
// timer where the system has one (Windows 10 1803 and later), otherwise event waits in
// whole milliseconds, which are as fine only while a FinerTimerPeriod is held.
class SystemPaceClock : public PaceClock {
  public:
    enum class Timer { PreciseIfAvailable, None };
    explicit SystemPaceClock(Timer timer = Timer::PreciseIfAvailable);

    std::uint64_t nowMicroseconds() override;
    bool waitUntil(std::uint64_t deadline, HANDLE stopEvent) override;
    // Whether waits go through the high-resolution timer.
    bool precise() const { return static_cast<bool>(timer_); }

  private:
    std::uint64_t ticksPerSecond_;
    KernelHandle timer_;
};

// The system's timer period lowered to 1 ms for the owner's life (timeBeginPeriod, paired
// with timeEndPeriod), when asked for: it costs the whole machine power, so only where the
// waits need it and only for as long as the thread that waits runs.
class FinerTimerPeriod {
  public:
    explicit FinerTimerPeriod(bool wanted);
    ~FinerTimerPeriod();
    FinerTimerPeriod(const FinerTimerPeriod&) = delete;
    FinerTimerPeriod& operator=(const FinerTimerPeriod&) = delete;

    bool active() const { return active_; }

  private:
    LoadedModule winmm_;
    bool active_ = false;
};
