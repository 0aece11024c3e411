#include "timing/frame_pacer.h"

void FramePacer::start() {
    startTick_ = GetTickCount();
}

bool FramePacer::waitUntil(DWORD periodMs) {
    for (;;) {
        DWORD elapsed = GetTickCount() - startTick_; // modulo 2^32: wrap-safe
        if (elapsed >= periodMs)
            return !stopRequested();
        if (!sleep(periodMs - elapsed))
            return false;
    }
}

bool FramePacer::sleep(DWORD milliseconds) {
    if (!stopEvent_) {
        Sleep(milliseconds);
        return true;
    }
    return WaitForSingleObject(stopEvent_, milliseconds) == WAIT_TIMEOUT;
}

bool FramePacer::stopRequested() const {
    return stopEvent_ && WaitForSingleObject(stopEvent_, 0) == WAIT_OBJECT_0;
}
