#include "timing/pace_clock.h"

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD CREATE_WAITABLE_TIMER_HIGH_RESOLUTION = 0x00000002;
#endif

constexpr UINT kFinerPeriodMs = 1;

HANDLE createPreciseTimer() {
    // Looked up: Windows 7 has the function but refuses the flag, older systems lack both.
    using CreateTimerFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
    auto create =
        findExport<CreateTimerFn>(GetModuleHandleA("kernel32.dll"), "CreateWaitableTimerExW");
    if (!create)
        return nullptr;
    return create(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
}

using TimePeriodFn = UINT(WINAPI*)(UINT);

} // namespace

SystemPaceClock::SystemPaceClock(Timer timer) {
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    ticksPerSecond_ = frequency.QuadPart > 0 ? static_cast<std::uint64_t>(frequency.QuadPart) : 0;
    if (timer == Timer::PreciseIfAvailable)
        timer_.reset(createPreciseTimer());
}

std::uint64_t SystemPaceClock::nowMicroseconds() {
    if (ticksPerSecond_ == 0)
        return static_cast<std::uint64_t>(GetTickCount64()) * 1000;
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    // In two parts: ticks x 10^6 alone would overflow after days of uptime.
    return ticks / ticksPerSecond_ * 1000000 + ticks % ticksPerSecond_ * 1000000 / ticksPerSecond_;
}

bool SystemPaceClock::waitUntil(std::uint64_t deadline, HANDLE stopEvent) {
    for (;;) {
        const std::uint64_t now = nowMicroseconds();
        if (now >= deadline)
            return true;
        const std::uint64_t remaining = deadline - now;
        if (timer_) {
            LARGE_INTEGER due = {};
            due.QuadPart = -static_cast<LONGLONG>(remaining * 10); // relative, in 100 ns
            if (SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE)) {
                const HANDLE wakes[] = {timer_.get(), stopEvent};
                const DWORD woke =
                    WaitForMultipleObjects(stopEvent ? 2 : 1, wakes, FALSE, INFINITE);
                if (woke == WAIT_OBJECT_0 + 1) {
                    CancelWaitableTimer(timer_.get());
                    return false;
                }
                if (woke == WAIT_OBJECT_0)
                    continue;
            }
        }
        // Rounded up, so that a wait never ends before its deadline only to wait again.
        const auto milliseconds = static_cast<DWORD>((remaining + 999) / 1000);
        if (!stopEvent)
            Sleep(milliseconds);
        else if (WaitForSingleObject(stopEvent, milliseconds) != WAIT_TIMEOUT)
            return false;
    }
}

FinerTimerPeriod::FinerTimerPeriod(bool wanted) {
    if (!wanted)
        return;
    // Not a library that the loader takes from the system folder by itself.
    winmm_ = loadSystemLibrary("winmm.dll");
    auto begin = winmm_.find<TimePeriodFn>("timeBeginPeriod");
    active_ = begin && begin(kFinerPeriodMs) == 0; // TIMERR_NOERROR
}

FinerTimerPeriod::~FinerTimerPeriod() {
    if (!active_)
        return;
    if (auto end = winmm_.find<TimePeriodFn>("timeEndPeriod"))
        end(kFinerPeriodMs);
}
