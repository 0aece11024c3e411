#include "scene/block_reveal.h"
#include "timing/frame_pacer.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

namespace {

// Interleaved stripes: 0, stride, 2 x stride, ..., then 1, 1 + stride, ... Wide counters,
// so that a stride near the 32-bit limit cannot wrap back into the range.
void fillStripeOrder(std::uint32_t* order, std::uint32_t count, unsigned stride) {
    if (stride == 0) {
        for (std::uint32_t i = 0; i < count; ++i)
            order[i] = count - 1 - i;
        return;
    }
    std::uint64_t position = 0;
    std::uint64_t passStart = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        order[i] = static_cast<std::uint32_t>(position);
        position += stride;
        if (position >= count)
            position = ++passStart;
    }
}

// Only swaps, so every block is still copied exactly once.
void shuffleOrder(std::uint32_t* order, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        unsigned r1 = static_cast<unsigned>(std::rand());
        unsigned r2 = static_cast<unsigned>(std::rand());
        std::swap(order[i], order[(r1 * r2) % count]);
    }
}

} // namespace

void revealBlocks(HDC dest, const RECT& destRect, HDC source, POINT sourceOrigin,
                  const RevealStyle& style, FramePacer* pacer) {
    const int blockWidth = style.blockWidth;
    const int blockHeight = style.blockHeight;
    unsigned blocksPerPause = style.blocksPerPause;
    const std::int64_t rw = static_cast<std::int64_t>(destRect.right) - destRect.left;
    const std::int64_t rh = static_cast<std::int64_t>(destRect.bottom) - destRect.top;
    if (rw <= 0 || rh <= 0 || blockWidth < 0 || blockHeight < 0)
        return;
    const std::int64_t bw = blockWidth == 0 ? rw : blockWidth;
    const std::int64_t bh = blockHeight == 0 ? rh : blockHeight;
    const std::uint64_t columns = static_cast<std::uint64_t>((rw + bw - 1) / bw);
    const std::uint64_t rows = static_cast<std::uint64_t>((rh + bh - 1) / bh);
    if (rows > UINT32_MAX / columns)
        return;
    const auto count = static_cast<std::uint32_t>(columns * rows);

    std::unique_ptr<std::uint32_t[]> order(new (std::nothrow) std::uint32_t[count]);
    if (!order)
        return;
    fillStripeOrder(order.get(), count, style.stride);
    if (style.shuffle)
        shuffleOrder(order.get(), count);

    BitBlt(source, sourceOrigin.x, sourceOrigin.y, static_cast<int>(rw), static_cast<int>(rh),
           source, sourceOrigin.x, sourceOrigin.y, SRCCOPY);

    FramePacer ownPacer;
    FramePacer& clock = pacer ? *pacer : ownPacer;
    clock.start();
    if (blocksPerPause == 0)
        blocksPerPause = 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        // The pause is measured from just before the block that ends a group.
        const bool pause = i > 0 && i % blocksPerPause == 0;
        if (pause)
            clock.start();
        const std::uint32_t block = order[i];
        const std::int64_t dx = static_cast<std::int64_t>(block % columns) * bw;
        const std::int64_t dy = static_cast<std::int64_t>(block / columns) * bh;
        // Blocks of the last row and column keep their full size and may reach past.
        BitBlt(dest, static_cast<int>(destRect.left + dx), static_cast<int>(destRect.top + dy),
               static_cast<int>(bw), static_cast<int>(bh), source,
               static_cast<int>(sourceOrigin.x + dx), static_cast<int>(sourceOrigin.y + dy),
               style.rasterOp);
        // A wait cut short means the thread is asked to end: the rest is not wanted.
        if (pause && !clock.waitUntil(style.pauseMs))
            return;
    }
}
