// How busy the render thread keeps a processor in the main loop: 100 x (thread CPU time /
// wall time) over a few seconds. A measurement to read, not a test; run it by hand under
// the test session (it is not part of the suite).
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
        const ULONGLONG cpuStart = cpuTime100ns(thread.get());
        const DWORD wallStart = GetTickCount();
        idleFor(6000);
        const double cpuMs = (cpuTime100ns(thread.get()) - cpuStart) / 10000.0;
        const DWORD wallMs = GetTickCount() - wallStart;
        std::printf("%s: render thread CPU %.0f ms in %lu ms: load %.1f %%\n", what, cpuMs, wallMs,
                    100.0 * cpuMs / wallMs);
    }
};

} // namespace

TEST_F(RenderLoad, MainLoop) {
    {
        TestWindow window = TestWindow::fullScreen();
        stillType(window.width(), window.height());
        measure("full screen, still picture", window, true);
    }
    {
        TestWindow window = TestWindow::fullScreen();
        movingType(window.width(), window.height());
        measure("full screen, drift of 4 pixels a frame", window, true);
    }
    {
        TestWindow window(320, 240);
        movingType(320, 240);
        measure("preview 320 x 240, drift", window, false);
    }
}
