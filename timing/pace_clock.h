#pragma once
#include "platform/kernel_handles.h"
#include "platform/loaded_module.h"

#include <windows.h>
#include <cstdint>
#include <memory>

// Waits for any of the handles (none: a plain sleep) or the time-out, as WaitForMultipleObjects
// does; no message wakes it. A wait of the message kind: under Wine, what the thread drew
// into a window reaches the screen before it sleeps, as it does on Windows at once.
DWORD waitForAny(DWORD count, const HANDLE* handles, DWORD timeoutMs);

// What the frame pacer reads and waits with: a steady time in microseconds and a wait for
// a moment of it that an event can cut short. The system's below, or a test's.
class PaceClock {
  public:
    virtual ~PaceClock() = default;
    virtual std::uint64_t nowMicroseconds() = 0;
    // Returns once the time has reached deadline (true), or once stopEvent (when given) is
    // set (false).
    virtual bool waitUntil(std::uint64_t deadline, HANDLE stopEvent) = 0;
    // No precise waits for a while (a pause, the idle after a close): let go of whatever
    // keeps them precise; the next waitUntil takes it again.
    virtual void rest() {}
};

// The system's timing services that SystemPaceClock asks for; a test's stand in to refuse
// them or to see what is held.
class TimerServices {
  public:
    virtual ~TimerServices() = default;
    // A waitable timer that wakes within about a millisecond (Windows 10 1803 and later);
    // null where the system has none.
    virtual HANDLE createHighResolutionTimer();
    // SetWaitableTimer, relative: due in 100 ns units from now.
    virtual bool setTimer(HANDLE timer, std::uint64_t due100ns);
    // timeBeginPeriod(1) and its timeEndPeriod: waits in whole milliseconds then wake on
    // time, not on the 15.625 ms tick. False when the system refuses.
    virtual bool beginFinePeriod();
    virtual void endFinePeriod();

  private:
    LoadedModule winmm_;
};

// The system's: the performance counter, and waits that wake within about a millisecond
// of their deadline, not on the system tick's 15.625 ms steps: a high-resolution waitable
// timer where the system has one that can be set, otherwise waits in whole milliseconds
// with the system's timer period lowered to 1 ms. That period costs the whole machine
// power (before Windows 10 2004 it is global), so it is held only from a wait to the next
// rest() and never where the timer serves.
class SystemPaceClock : public PaceClock {
  public:
    enum class Timer { PreciseIfAvailable, None };
    // services: the system's when null, else the caller's, which outlives the clock.
    explicit SystemPaceClock(Timer timer = Timer::PreciseIfAvailable,
                             TimerServices* services = nullptr);
    ~SystemPaceClock() override;
    SystemPaceClock(const SystemPaceClock&) = delete;
    SystemPaceClock& operator=(const SystemPaceClock&) = delete;

    std::uint64_t nowMicroseconds() override;
    bool waitUntil(std::uint64_t deadline, HANDLE stopEvent) override;
    void rest() override;
    // Whether waits go through the high-resolution timer.
    bool precise() const { return static_cast<bool>(timer_); }
    // Whether the lowered timer period is held now.
    bool holdsFinePeriod() const { return finePeriodHeld_; }

  private:
    std::unique_ptr<TimerServices> ownServices_;
    TimerServices* services_;
    std::uint64_t ticksPerSecond_;
    KernelHandle timer_;
    bool finePeriodHeld_ = false;
};
