#include "timing/tick_clock.h"

TickClock64::TickClock64(TickSource tickSource)
    : tickSource_(tickSource), lastTick_(tickSource()), start_(lastTick_) {}

std::uint64_t TickClock64::now() {
    std::uint32_t tick = tickSource_();
    if (tick < lastTick_)
        ++wraps_;
    lastTick_ = tick;
    return (static_cast<std::uint64_t>(wraps_) << 32) | tick;
}
