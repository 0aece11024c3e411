// How busy the render thread keeps a processor in the main loop, 100 x (thread CPU time /
// wall time), and how well it keeps the frame period, over a few seconds of a full-screen
// window and a preview, and its load while the monitor is off. A measurement to read, not
// a test: scripts/bench runs it on each screen size (it is not part of the suite). Each
// result is one line starting "bench:".
#include "animator/animator.h"
#include "platform/kernel_handles.h"
#include "tests/animator/process_probe.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>

namespace {

ULONGLONG cpuTime100ns(HANDLE thread) {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

class RenderLoad : public AnimatorScenery {
  protected:
    void measure(const char* what, const TestWindow& window, bool fullScreen) {
        const std::set<DWORD> before = threadsOfThisProcess();
        auto animator =
            std::make_unique<Animator>(GetModuleHandleA(nullptr), window.get(), fullScreen);
        KernelHandle thread = findRenderThread(before);
        ASSERT_TRUE(thread);
        idleFor(3000); // past the start-up transition
        const FramePaceStatistics startPace = animator->frameStatistics();
        const ULONGLONG cpuStart = cpuTime100ns(thread.get());
        const DWORD wallStart = GetTickCount();
        idleFor(6000);
        const double cpuMs = (cpuTime100ns(thread.get()) - cpuStart) / 10000.0;
        const DWORD wallMs = GetTickCount() - wallStart;
        const FramePaceStatistics pace = animator->frameStatistics();
        ASSERT_GT(pace.frames, startPace.frames) << "the main loop drew no frame";
        std::printf("bench: %s %dx%d load=%.1f%% frames=%u mean=%.1fms worst=%.1fms\n", what,
                    window.width(), window.height(), 100.0 * cpuMs / wallMs, pace.frames,
                    pace.meanIntervalMs, pace.worstIntervalMs);
    }

    // The render thread's load while the monitor is off: it should wait, not draw.
    void measurePaused(const char* what, const TestWindow& window) {
        const std::set<DWORD> before = threadsOfThisProcess();
        auto animator = std::make_unique<Animator>(GetModuleHandleA(nullptr), window.get(), true);
        KernelHandle thread = findRenderThread(before);
        ASSERT_TRUE(thread);
        idleFor(3000);
        animator->setPaused(true);
        idleFor(500); // the frame under way ends
        const ULONGLONG cpuStart = cpuTime100ns(thread.get());
        const DWORD wallStart = GetTickCount();
        idleFor(6000);
        const double cpuMs = (cpuTime100ns(thread.get()) - cpuStart) / 10000.0;
        const DWORD wallMs = GetTickCount() - wallStart;
        std::printf("bench: %s %dx%d load=%.2f%%\n", what, window.width(), window.height(),
                    100.0 * cpuMs / wallMs);
    }
};

} // namespace

TEST_F(RenderLoad, MainLoop) {
    {
        TestWindow window = TestWindow::fullScreen();
        stillType(window.width(), window.height());
        measure("full-screen-still", window, true);
    }
    {
        TestWindow window = TestWindow::fullScreen();
        movingType(window.width(), window.height());
        measure("full-screen-drift", window, true);
    }
    {
        TestWindow window = TestWindow::fullScreen();
        movingType(window.width(), window.height());
        measurePaused("full-screen-paused", window);
    }
    {
        TestWindow window(320, 240);
        movingType(320, 240);
        measure("preview-drift", window, false);
    }
}
