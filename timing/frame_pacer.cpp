#include "timing/frame_pacer.h"

namespace {

std::uint64_t microseconds(DWORD milliseconds) {
    return static_cast<std::uint64_t>(milliseconds) * 1000;
}

} // namespace

FramePacer::FramePacer(HANDLE stopEvent, PaceClock* clock)
    : stopEvent_(stopEvent), ownClock_(clock ? nullptr : std::make_unique<SystemPaceClock>()),
      clock_(clock ? clock : ownClock_.get()) {}

void FramePacer::start() {
    start_ = clock_->nowMicroseconds();
}

bool FramePacer::waitUntil(DWORD periodMs) {
    return waitFor(start_ + microseconds(periodMs));
}

void FramePacer::startSchedule() {
    deadline_ = clock_->nowMicroseconds();
}

bool FramePacer::waitForNextFrame(DWORD periodMs) {
    const std::uint64_t period = microseconds(periodMs);
    deadline_ += period;
    const std::uint64_t now = clock_->nowMicroseconds();
    if (now > deadline_ && now - deadline_ > period)
        deadline_ = now; // a stall: the next frame now, and the schedule from here
    return waitFor(deadline_);
}

bool FramePacer::waitFor(std::uint64_t deadline) {
    if (!clock_->waitUntil(deadline, stopEvent_))
        return false;
    return !stopRequested();
}

bool FramePacer::sleep(DWORD milliseconds) {
    clock_->rest();
    return waitForAny(stopEvent_ ? 1 : 0, &stopEvent_, milliseconds) == WAIT_TIMEOUT;
}

bool FramePacer::stopRequested() const {
    return stopEvent_ && WaitForSingleObject(stopEvent_, 0) == WAIT_OBJECT_0;
}
