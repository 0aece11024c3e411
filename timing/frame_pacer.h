#pragma once
#include <windows.h>

// Paces a period measured from a start tick: the time spent working counts into the
// period, an overrun is followed by the next period at once, and the 32-bit tick's wrap
// does not disturb it. With a stop event, a wait ends early once the event is set, so
// that a thread waiting here can be asked to end.
class FramePacer {
  public:
    explicit FramePacer(HANDLE stopEvent = nullptr) : stopEvent_(stopEvent) {}
    virtual ~FramePacer() = default;
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    virtual void start();
    // Waits until periodMs have passed since start(). False when the stop event ended
    // the wait (or was already set).
    virtual bool waitUntil(DWORD periodMs);

    // A plain sleep that the stop event can cut short; false when it did.
    bool sleep(DWORD milliseconds);

    bool stopRequested() const;

  private:
    HANDLE stopEvent_;
    DWORD startTick_ = 0;
};
