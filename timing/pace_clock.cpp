#include "timing/pace_clock.h"

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD CREATE_WAITABLE_TIMER_HIGH_RESOLUTION = 0x00000002;
#endif

constexpr UINT kFinerPeriodMs = 1;

using TimePeriodFn = UINT(WINAPI*)(UINT);

} // namespace

DWORD waitForAny(DWORD count, const HANDLE* handles, DWORD timeoutMs) {
    return MsgWaitForMultipleObjects(count, handles, FALSE, timeoutMs, 0);
}

HANDLE TimerServices::createHighResolutionTimer() {
    // Looked up: Windows 7 has the function but refuses the flag, older systems lack both.
    using CreateTimerFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
    auto create =
        findExport<CreateTimerFn>(GetModuleHandleA("kernel32.dll"), "CreateWaitableTimerExW");
    if (!create)
        return nullptr;
    return create(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
}

bool TimerServices::setTimer(HANDLE timer, std::uint64_t due100ns) {
    LARGE_INTEGER due = {};
    due.QuadPart = -static_cast<LONGLONG>(due100ns); // negative: relative
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) != 0;
}

bool TimerServices::beginFinePeriod() {
    // Not a library that the loader takes from the system folder by itself.
    if (!winmm_)
        winmm_ = loadSystemLibrary("winmm.dll");
    auto begin = winmm_.find<TimePeriodFn>("timeBeginPeriod");
    return begin && begin(kFinerPeriodMs) == 0; // TIMERR_NOERROR
}

void TimerServices::endFinePeriod() {
    if (auto end = winmm_.find<TimePeriodFn>("timeEndPeriod"))
        end(kFinerPeriodMs);
}

SystemPaceClock::SystemPaceClock(Timer timer, TimerServices* services)
    : ownServices_(services ? nullptr : std::make_unique<TimerServices>()),
      services_(services ? services : ownServices_.get()) {
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    ticksPerSecond_ = frequency.QuadPart > 0 ? static_cast<std::uint64_t>(frequency.QuadPart) : 0;
    if (timer != Timer::PreciseIfAvailable)
        return;
    timer_.reset(services_->createHighResolutionTimer());
    // A timer that is made but cannot be set would leave every wait on the coarse tick
    // without the finer period: tried once here, and given up for the fallback.
    if (timer_ && !services_->setTimer(timer_.get(), 1))
        timer_.reset();
    if (timer_)
        CancelWaitableTimer(timer_.get());
}

SystemPaceClock::~SystemPaceClock() {
    rest();
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
        if (timer_ && services_->setTimer(timer_.get(), remaining * 10)) {
            const HANDLE wakes[] = {timer_.get(), stopEvent};
            const DWORD woke = waitForAny(stopEvent ? 2 : 1, wakes, INFINITE);
            if (woke == WAIT_OBJECT_0 + 1) {
                CancelWaitableTimer(timer_.get());
                return false;
            }
            if (woke == WAIT_OBJECT_0)
                continue;
        }
        if (!finePeriodHeld_)
            finePeriodHeld_ = services_->beginFinePeriod();
        // Rounded up, so that a wait never ends before its deadline only to wait again.
        const auto milliseconds = static_cast<DWORD>((remaining + 999) / 1000);
        if (waitForAny(stopEvent ? 1 : 0, &stopEvent, milliseconds) != WAIT_TIMEOUT)
            return false;
    }
}

void SystemPaceClock::rest() {
    if (!finePeriodHeld_)
        return;
    services_->endFinePeriod();
    finePeriodHeld_ = false;
}
