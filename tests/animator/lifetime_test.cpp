#include "animator/animator.h"
#include "platform/kernel_handles.h"
#include "settings/preferences.h"
#include "tests/animator/process_probe.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/captured_picture.h"
#include "tests/support/pixels.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>

namespace {

constexpr std::uint32_t kScreenColour = rgb(0, 0, 160);

// Starts an Animator and finds its render thread.
class AnimatorLifetime : public AnimatorScenery {
  protected:
    void start(const TestWindow& window, bool fullScreen) {
        const std::set<DWORD> before = threadsOfThisProcess();
        animator = std::make_unique<Animator>(GetModuleHandleA(nullptr), window.get(), fullScreen);
        renderThread = findRenderThread(before, &renderThreadId);
        ASSERT_TRUE(renderThread) << "not one render thread at below-normal priority";
    }

    // Destroys the Animator: its thread must be gone, having ended by itself.
    void expectCleanEnd(const char* state) {
        const DWORD startTick = GetTickCount();
        animator.reset();
        const DWORD tookMs = GetTickCount() - startTick;
        std::printf("destroyed %s in %lu ms\n", state, tookMs);
        EXPECT_EQ(WaitForSingleObject(renderThread.get(), 0), WAIT_OBJECT_0)
            << "the render thread still runs";
        DWORD exitCode = STILL_ACTIVE;
        GetExitCodeThread(renderThread.get(), &exitCode);
        EXPECT_EQ(exitCode, 0u) << "the render thread had to be ended by force";
        EXPECT_EQ(threadsOfThisProcess().count(renderThreadId), 0u);
    }

    std::unique_ptr<Animator> animator;
    KernelHandle renderThread;
    DWORD renderThreadId = 0;
};

} // namespace

TEST_F(AnimatorLifetime, EndsRightAfterConstruction) {
    TestWindow window(320, 240);
    stillType(320, 240);
    ASSERT_NO_FATAL_FAILURE(start(window, false));
    expectCleanEnd("at once");
}

TEST_F(AnimatorLifetime, EndsDuringTheFade) {
    TestWindow window = TestWindow::fullScreen();
    stillType(window.width(), window.height());
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));
    ASSERT_NO_FATAL_FAILURE(start(window, true));
    ASSERT_TRUE(waitFor(
        [&] { return pixelAt(window.get(), window.width() / 2, 10) != kScreenColour; }, 5000));
    expectCleanEnd("during the fade");
}

TEST_F(AnimatorLifetime, EndsDuringTheReveal) {
    TestWindow window = TestWindow::fullScreen();
    addGeneral("ScrStartStyle=0");
    stillType(window.width(), window.height());
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));
    ASSERT_NO_FATAL_FAILURE(start(window, true));
    // The first revealed blocks.
    ASSERT_TRUE(waitFor(
        [&] {
            for (int y = 2; y < window.height(); y += 24)
                for (int x = 2; x < window.width(); x += 24)
                    if (pixelAt(window.get(), x, y) == kSceneColour)
                        return true;
            return false;
        },
        5000));
    expectCleanEnd("during the reveal");
}

TEST_F(AnimatorLifetime, EndsInTheMainLoopAndWhilePaused) {
    for (bool paused : {false, true}) {
        TestWindow window(320, 240);
        movingType(320, 240);
        ASSERT_NO_FATAL_FAILURE(start(window, false));
        idleFor(3000);
        const Picture before = capture(window.get());
        ASSERT_TRUE(waitFor([&] { return !(capture(window.get()) == before); }, 2000));
        if (paused) {
            animator->setPaused(true);
            idleFor(1500); // into the paused poll's second-long sleep
        }
        expectCleanEnd(paused ? "while paused" : "in the main loop");
        renderThread.reset();
    }
}

TEST_F(AnimatorLifetime, EndsAfterTheNoticeOfABrokenType) {
    TestWindow window(320, 240);
    brokenType(320, 240);
    window.fill(kScreenColour);
    ASSERT_NO_FATAL_FAILURE(start(window, false));
    ASSERT_TRUE(waitFor([&] { return pixelAt(window.get(), 0, 0) != kScreenColour; }, 5000));
    idleFor(200);
    expectCleanEnd("after the notice");
}

TEST_F(AnimatorLifetime, EndsWhileIdleAfterTheClose) {
    TestWindow window(320, 240);
    movingType(320, 240);
    ASSERT_NO_FATAL_FAILURE(start(window, false));
    idleFor(3000);
    animator->handOffWallpaper();
    idleFor(500); // the thread has seen the close and idles
    expectCleanEnd("while idle");
}
