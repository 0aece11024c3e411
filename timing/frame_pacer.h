#pragma once
#include "timing/pace_clock.h"

#include <windows.h>
#include <cstdint>
#include <memory>

// Paces work in periods, on the given clock (the system's when none is given). With a stop
// event, a wait ends early once the event is set, so that a thread waiting here can be
// asked to end.
//
// Two ways: a period measured from start() (the block reveal's pauses), and frames on a
// schedule, each deadline the previous one plus the period. The schedule keeps the mean
// frame period exact even where wakes come late by up to a system tick (15.625 ms on
// Windows), instead of adding that lateness to every frame.
class FramePacer {
  public:
    explicit FramePacer(HANDLE stopEvent = nullptr, PaceClock* clock = nullptr);
    virtual ~FramePacer() = default;
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    virtual void start();
    // Waits until periodMs have passed since start(): the time spent working counts into
    // the period, and an overrun is followed by the next period at once. False when the
    // stop event ended the wait (or was already set).
    virtual bool waitUntil(DWORD periodMs);

    // Starts a schedule now: the first frame's deadline is one period from here.
    void startSchedule();
    // Waits for the next frame's deadline on the schedule. A frame that ends less than a
    // period late is followed by the next at once, which keeps the schedule; after a longer
    // stall (a pause, a resume from sleep) a new schedule starts from now, without a burst
    // of frames to catch up. False when the stop event ended the wait.
    bool waitForNextFrame(DWORD periodMs);

    // A plain sleep that the stop event can cut short; false when it did. The clock rests
    // meanwhile: a sleep is a pause, not a frame.
    bool sleep(DWORD milliseconds);

    bool stopRequested() const;

  private:
    bool waitFor(std::uint64_t deadline);

    HANDLE stopEvent_;
    std::unique_ptr<SystemPaceClock> ownClock_; // when no clock was given
    PaceClock* clock_;
    std::uint64_t start_ = 0;
    std::uint64_t deadline_ = 0;
};
