#include "scene/block_reveal.h"
#include "scene/reveal_style.h"
#include "tests/scene/scene_test_support.h"
#include "tests/support/dib_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

// A row of blocks 1 pixel each; block b has its own colour in the source.
COLORREF blockColour(int b) {
    return RGB(10 + b, 100, 200);
}

struct Reveal {
    std::vector<int> order;        // blocks in the order they were copied
    std::vector<int> copiedAtWait; // blocks copied when each wait began
    std::vector<int> copiedAtStart;
    RecordingPacer pacer;
};

// Reveals a 1-pixel-high strip of `count` blocks of 1 x 1 and reads the copy order back:
// with one block per pause, the pacer restarts before every block but the first.
void revealStrip(int count, unsigned stride, bool shuffle, unsigned blocksPerPause,
                 unsigned pauseMs, Reveal& reveal) {
    DibSurface source(count, 1);
    source.paint([](int x, int) { return blockColour(x); });
    DibSurface dest(count, 1, kSentinel);
    std::vector<bool> seen(count, false);
    auto collect = [&] {
        for (int x = 0; x < count; ++x)
            if (!seen[x] && dest.pixel(x, 0) != kSentinel) {
                seen[x] = true;
                reveal.order.push_back(x);
            }
    };
    reveal.pacer.onEvent = [&](bool wait) {
        (wait ? reveal.copiedAtWait : reveal.copiedAtStart)
            .push_back(dest.countDiffering(kSentinel));
        collect();
    };
    revealBlocks(dest.dc(), RECT{0, 0, count, 1}, source.dc(), POINT{0, 0},
                 RevealStyle{1, 1, stride, shuffle, blocksPerPause, pauseMs, SRCCOPY},
                 &reveal.pacer);
    collect();
    for (int x = 0; x < count; ++x)
        EXPECT_EQ(dest.pixel(x, 0), blockColour(x)) << x;
}

} // namespace

TEST(RevealOrder, StridesInterleaveAndZeroReverses) {
    struct Case {
        int count;
        unsigned stride;
        std::vector<int> order;
    } cases[] = {{7, 3, {0, 3, 6, 1, 4, 2, 5}},
                 {7, 1, {0, 1, 2, 3, 4, 5, 6}},
                 {7, 7, {0, 1, 2, 3, 4, 5, 6}},
                 {7, 100, {0, 1, 2, 3, 4, 5, 6}},
                 {7, 0, {6, 5, 4, 3, 2, 1, 0}},
                 {6, 2, {0, 2, 4, 1, 3, 5}},
                 // A stride near the 32-bit limit must not wrap back into the range.
                 {5, 0xFFFFFFFFu, {0, 1, 2, 3, 4}}};
    for (const Case& c : cases) {
        Reveal reveal;
        revealStrip(c.count, c.stride, false, 1, 0, reveal);
        EXPECT_EQ(reveal.order, c.order) << "count " << c.count << " stride " << c.stride;
    }
}

TEST(RevealOrder, ShuffledOrdersStillCopyEveryBlockExactlyOnce) {
    std::srand(12345);
    std::set<std::vector<int>> orders;
    for (unsigned stride : {1u, 3u, 0u}) {
        for (int round = 0; round < 3; ++round) {
            Reveal reveal;
            revealStrip(37, stride, true, 1, 0, reveal);
            // Before block i the pacer restarts with exactly i blocks copied: no block
            // was copied twice and none skipped.
            ASSERT_EQ(reveal.copiedAtStart.size(), 37u);
            for (int i = 1; i < 37; ++i)
                EXPECT_EQ(reveal.copiedAtStart[i], i);
            std::vector<int> sorted = reveal.order;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(sorted.size(), 37u);
            for (int i = 0; i < 37; ++i)
                EXPECT_EQ(sorted[i], i);
            orders.insert(reveal.order);
        }
    }
    EXPECT_GT(orders.size(), 1u) << "the shuffle never changed the order";
}

TEST(RevealPacing, PausesAfterEveryGroupOfBlocks) {
    struct Case {
        int count;
        unsigned blocksPerPause;
        unsigned pauseMs;
        unsigned effectivePerPause;
    } cases[] = {{23, 5, 40, 5}, {10, 10, 150, 10}, {11, 10, 7, 10}, {6, 0, 3, 1}, {1, 1, 9, 1}};
    for (const Case& c : cases) {
        Reveal reveal;
        revealStrip(c.count, 1, false, c.blocksPerPause, c.pauseMs, reveal);
        const int pauses = (c.count - 1) / static_cast<int>(c.effectivePerPause);
        // The first start opens the reveal; each later group restarts the clock just
        // before its first block and waits pauseMs after that block.
        ASSERT_EQ(reveal.pacer.events.size(), static_cast<size_t>(1 + 2 * pauses)) << c.count;
        EXPECT_FALSE(reveal.pacer.events[0].wait);
        for (int k = 0; k < pauses; ++k) {
            EXPECT_FALSE(reveal.pacer.events[1 + 2 * k].wait);
            EXPECT_TRUE(reveal.pacer.events[2 + 2 * k].wait);
            EXPECT_EQ(reveal.pacer.events[2 + 2 * k].periodMs, c.pauseMs);
            const int group = static_cast<int>(c.effectivePerPause) * (k + 1);
            EXPECT_EQ(reveal.copiedAtStart[k + 1], group) << "count " << c.count << " pause " << k;
            EXPECT_EQ(reveal.copiedAtWait[k], group + 1) << "count " << c.count << " pause " << k;
        }
    }
}

TEST(RevealPacing, AWaitCutShortEndsTheReveal) {
    DibSurface source(30, 1, RGB(9, 9, 9));
    DibSurface dest(30, 1, kSentinel);
    RecordingPacer pacer;
    pacer.stopAtWait = 2;
    revealBlocks(dest.dc(), RECT{0, 0, 30, 1}, source.dc(), POINT{0, 0},
                 RevealStyle{1, 1, 1, false, 4, 5, SRCCOPY}, &pacer);
    EXPECT_EQ(pacer.waits(), 2);
    EXPECT_EQ(dest.countDiffering(kSentinel), 9) << "blocks 0..8: the group of the second wait";
}

TEST(RevealBlocks, GridBlocksReachPastTheRectangleAndBlockSizeZeroIsWhole) {
    const COLORREF ink = RGB(90, 80, 70);
    DibSurface source(20, 20, ink);
    // 10 x 10 at (3, 3) in 4 x 4 blocks: 3 x 3 blocks, the last ones reach 2 pixels past.
    DibSurface dest(20, 20, kSentinel);
    RecordingPacer pacer;
    revealBlocks(dest.dc(), RECT{3, 3, 13, 13}, source.dc(), POINT{0, 0},
                 RevealStyle{4, 4, 1, false, 1, 0, SRCCOPY}, &pacer);
    EXPECT_EQ(pacer.waits(), 8);
    EXPECT_EQ(dest.differing(kSentinel), rectMask(20, 20, RECT{3, 3, 15, 15}));

    DibSurface whole(20, 20, kSentinel);
    RecordingPacer single;
    revealBlocks(whole.dc(), RECT{2, 5, 17, 9}, source.dc(), POINT{0, 0},
                 RevealStyle{0, 0, 1, false, 1, 0, SRCCOPY}, &single);
    EXPECT_EQ(single.waits(), 0);
    EXPECT_EQ(whole.differing(kSentinel), rectMask(20, 20, RECT{2, 5, 17, 9}));
}

TEST(RevealBlocks, CopiesFromTheSourceOriginAndStrideZeroStartsBottomRight) {
    DibSurface source(16, 16);
    source.paint([](int x, int y) { return RGB(x * 10, y * 10, 5); });
    DibSurface dest(16, 16, kSentinel);
    std::vector<bool> atFirstRestart;
    RecordingPacer pacer;
    pacer.onEvent = [&](bool wait) {
        if (!wait && atFirstRestart.empty() && pacer.events.size() == 2)
            atFirstRestart = dest.differing(kSentinel);
    };
    revealBlocks(dest.dc(), RECT{2, 2, 10, 10}, source.dc(), POINT{5, 4},
                 RevealStyle{4, 4, 0, false, 1, 0, SRCCOPY}, &pacer);
    EXPECT_EQ(atFirstRestart, rectMask(16, 16, RECT{6, 6, 10, 10}));
    for (int y = 2; y < 10; ++y)
        for (int x = 2; x < 10; ++x)
            EXPECT_EQ(dest.pixel(x, y), RGB((x - 2 + 5) * 10, (y - 2 + 4) * 10, 5))
                << x << "," << y;
}

TEST(RevealBlocks, AnEmptyRectangleDrawsNothingAndDoesNotWait) {
    DibSurface source(8, 8, RGB(9, 9, 9));
    DibSurface dest(8, 8, kSentinel);
    RecordingPacer pacer;
    revealBlocks(dest.dc(), RECT{5, 5, 5, 8}, source.dc(), POINT{0, 0},
                 RevealStyle{1, 1, 1, true, 1, 10, SRCCOPY}, &pacer);
    revealBlocks(dest.dc(), RECT{6, 6, 2, 2}, source.dc(), POINT{0, 0},
                 RevealStyle{1, 1, 1, true, 1, 10, SRCCOPY}, &pacer);
    EXPECT_EQ(dest.countDiffering(kSentinel), 0);
    EXPECT_EQ(pacer.waits(), 0);
}

TEST(RevealStyle, MatchesTheThreeStylesOnAReferenceScreen) {
    RevealStyle lines = revealStyleFor(0, 1024, 768);
    EXPECT_EQ(lines.blockWidth, 1024);
    EXPECT_EQ(lines.blockHeight, 1);
    EXPECT_EQ(lines.stride, 38u);
    EXPECT_FALSE(lines.shuffle);
    EXPECT_EQ(lines.blocksPerPause, 10u);
    EXPECT_EQ(lines.pauseMs, 40u);

    RevealStyle randomLines = revealStyleFor(2, 1024, 768);
    EXPECT_EQ(randomLines.blockWidth, 1024);
    EXPECT_EQ(randomLines.blockHeight, 1);
    EXPECT_EQ(randomLines.stride, 1u);
    EXPECT_TRUE(randomLines.shuffle);
    EXPECT_EQ(randomLines.blocksPerPause, 10u);
    EXPECT_EQ(randomLines.pauseMs, 40u);

    for (int style : {1, 3, -1}) {
        RevealStyle grid = revealStyleFor(style, 1024, 768);
        EXPECT_EQ(grid.blockWidth, 64);
        EXPECT_EQ(grid.blockHeight, 48);
        EXPECT_EQ(grid.stride, 1u);
        EXPECT_TRUE(grid.shuffle);
        EXPECT_EQ(grid.blocksPerPause, 25u);
        EXPECT_EQ(grid.pauseMs, 150u);
    }
    // Tall screens make thicker lines; a screen under 20 lines reveals bottom-up.
    EXPECT_EQ(revealStyleFor(0, 1600, 1200).blockHeight, 3);
    EXPECT_EQ(revealStyleFor(0, 64, 19).stride, 0u);
}
