#include "animator/animator.h"
#include "animator/desktop_composition.h"
#include "animator/power_policy.h"
#include "animator/power_save.h"
#include "animator/slot_scope.h"
#include "platform/gdi_handles.h"
#include "raster/offscreen_surface.h"
#include "raster/pixel_blend.h"
#include "resources/resource_ids.h"
#include "scene/block_reveal.h"
#include "scene/scene.h"
#include "settings/catalogue.h"
#include "timing/frame_pacer.h"
#include "timing/tick_clock.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>

namespace {

constexpr DWORD kSettleMs = 500;
constexpr DWORD kPausedPollMs = 1000;
constexpr DWORD kIdleSleepMs = 10000;
constexpr DWORD kNoticeRefreshMs = 1000;
constexpr std::uint32_t kPowerSaveCheckInterval = 100;
// The first frame comes in 4 x 4 blocks at random, with a short pause after every 500.
constexpr RevealStyle kStartupReveal = {4, 4, 1, true, 500, 1, SRCCOPY};

// Constant alpha of each start-up fade step: triangular numbers, then an ease into 255.
constexpr BYTE kFadeTable[25] = {1,   3,   6,   10,  15,  21,  28,  36,  45,  55,  66,  78, 91,
                                 105, 120, 136, 153, 171, 190, 210, 231, 240, 248, 253, 255};

void idle(FramePacer& pacer) {
    while (pacer.sleep(kIdleSleepMs)) {
    }
}

} // namespace

DWORD WINAPI Animator::threadEntry(void* parameter) {
    auto* animator = static_cast<Animator*>(parameter);
    animator->run();
    bool abandoned = false;
    {
        SectionLock::Guard guard(animator->lock_);
        animator->threadEnded_ = true;
        abandoned = animator->abandoned_;
    }
    if (abandoned)
        delete animator; // nobody else holds it any more
    return 0;
}

void Animator::run() {
    if (!loadScenes())
        return; // stopped, or closed while loading: nothing was shown, nothing to hand off
    // Every sleep of a pause or of the idle after a close lets the clock rest.
    FramePacer pacer(stopEvent_.get(), &paceClock_);
    // Broken Scenes stay broken.
    if (!anyHealthySlot()) {
        showNoticeUntilStopped();
        return;
    }
    std::srand(GetTickCount() % 0x7FFF);
    RECT rect{};
    GetWindowRect(window_, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const PowerSaveSettings powerSave = readPowerSaveSettings();
    // A monitor whose Scene is broken shows the notice instead.
    const std::vector<BitmapHandle> notices = loadNotices();

    // The window's context is the class's own (CS_OWNDC), shared with the hand-off on the
    // window thread, and a context serves one thread at a time (Wine fails the other
    // call): every use of it, taking it and surfaces made from it included, happens under
    // the lock (a close right at the start makes its hand-off surface from it meanwhile),
    // and the thread lets go of them only once the hand-off is done with the window.
    SectionLock::Guard guard(lock_);
    WindowDC window(window_); // held for the thread's whole life
    sceneBuffer_ = std::make_unique<OffscreenSurface>(window.get(), width, height);
    const OffscreenSurface& sceneBuffer = *sceneBuffer_;
    // The first frame of every monitor, as one picture: the start-up transition covers
    // them all at once; what no monitor covers stays black.
    for (const SceneSlot& slot : slots_) {
        if (slot.broken())
            continue;
        SlotScope scope(slot, sceneBuffer.dc());
        slot.scene->draw(sceneBuffer.dc(), nullptr, true, false, nullptr);
    }
    showNotices(sceneBuffer.dc(), notices);
    const SceneSlot* primary = primarySlot();
    if (primary && primary->clip && !primary->broken()) {
        handOffBuffer_ =
            std::make_unique<OffscreenSurface>(window.get(), primary->width(), primary->height());
        primary->scene->draw(handOffBuffer_->dc(), nullptr, true, false, nullptr);
    }
    Stage stage = Stage::Continue;
    if (start_ == AnimatorStart::Rebuilt) {
        // The display changed under a running saver: the new layout at once, no second
        // start-up transition.
        if (closing_)
            stage = Stage::Closing;
        else
            BitBlt(window.get(), 0, 0, width, height, sceneBuffer.dc(), 0, 0, SRCCOPY);
        guard.unlock();
    } else {
        guard.unlock();
        stage = readStartStyle() != 0 ? crossFade(window.get(), sceneBuffer, width, height, pacer)
                                      : revealFirstFrame(window.get(), sceneBuffer, width, height);
        if (stage == Stage::Continue && !pacer.sleep(kSettleMs))
            stage = Stage::Stopped;
    }
    if (stage == Stage::Continue)
        stage = animate(window.get(), sceneBuffer, powerSave, notices, pacer);
    if (stage == Stage::Closing)
        idle(pacer);
}

std::vector<BitmapHandle> Animator::loadNotices() const {
    std::vector<BitmapHandle> notices;
    for (const SceneSlot& slot : slots_) {
        notices.emplace_back(
            slot.broken() ? static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_NOTICE),
                                                            IMAGE_BITMAP, slot.width(),
                                                            slot.height(), LR_DEFAULTCOLOR))
                          : nullptr);
    }
    return notices;
}

void Animator::showNotices(HDC dc, const std::vector<BitmapHandle>& notices) const {
    MemoryDC memory(dc);
    for (std::size_t i = 0; i < slots_.size() && i < notices.size(); ++i) {
        if (!notices[i])
            continue;
        const SceneSlot& slot = slots_[i];
        SelectedObject selection(memory.get(), notices[i].get());
        if (selection)
            BitBlt(dc, slot.area.left, slot.area.top, slot.width(), slot.height(), memory.get(), 0,
                   0, SRCCOPY);
    }
}

// Every Scene broken: the notices and nothing else. A drawing made before the window
// reached the display can be lost without any repaint request (as under Wine), so they are
// drawn at every frame for as long as the start-up fade would last, then every
// kNoticeRefreshMs until the close, and again whenever the window asks for a repaint.
void Animator::showNoticeUntilStopped() {
    const std::vector<BitmapHandle> notices = loadNotices();
    const HANDLE wakes[] = {stopEvent_.get(), repaintEvent_.get()};
    DWORD woke = WAIT_OBJECT_0 + 1;
    for (DWORD frame = 0; woke != WAIT_OBJECT_0; ++frame) {
        {
            SectionLock::Guard guard(lock_);
            if (woke != WAIT_TIMEOUT || !closing_) {
                repaintRequested_ = false;
                WindowDC window(window_);
                showNotices(window.get(), notices);
            }
        }
        const DWORD wait = frame + 1 < std::size(kFadeTable) ? kFramePeriodMs : kNoticeRefreshMs;
        woke = WaitForMultipleObjects(2, wakes, FALSE, wait);
    }
}

Animator::Stage Animator::crossFade(HDC window, const OffscreenSurface& sceneBuffer, int width,
                                    int height, FramePacer& pacer) {
    SectionLock::Guard surfaces(lock_);
    std::unique_ptr<OffscreenSurface> start = std::move(startPicture_);
    if (!start) {
        // A preview: the background erase paints nothing, so its window still shows what
        // lay there at the start.
        start = std::make_unique<OffscreenSurface>(window, width, height);
        BitBlt(start->dc(), 0, 0, width, height, window, 0, 0, SRCCOPY);
    }
    const OffscreenSurface& snapshot = *start;
    OffscreenSurface mix(window, width, height);
    surfaces.unlock();
    Stage stage = Stage::Continue;
    pacer.startSchedule();
    for (BYTE alpha : kFadeTable) {
        {
            SectionLock::Guard guard(lock_);
            if (closing_) {
                stage = Stage::Closing;
                break;
            }
            // All three are pictures of our own in memory: the step is computed there in one
            // pass, the platform's blend only when they cannot be reached.
            if (!crossFadeInto(topDownPixelsOf(mix.dc()), RECT{0, 0, width, height},
                               topDownPixelsOf(snapshot.dc()), POINT{0, 0},
                               topDownPixelsOf(sceneBuffer.dc()), POINT{0, 0}, alpha)) {
                BitBlt(mix.dc(), 0, 0, width, height, snapshot.dc(), 0, 0, SRCCOPY);
                const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
                GdiAlphaBlend(mix.dc(), 0, 0, width, height, sceneBuffer.dc(), 0, 0, width, height,
                              blend);
            }
            BitBlt(window, 0, 0, width, height, mix.dc(), 0, 0, SRCCOPY);
        }
        if (!pacer.waitForNextFrame(kFramePeriodMs)) {
            stage = Stage::Stopped;
            break;
        }
    }
    // The surfaces were made from the window's context: they go under the lock too.
    surfaces.relock();
    return stage;
}

Animator::Stage Animator::revealFirstFrame(HDC window, const OffscreenSurface& sceneBuffer,
                                           int width, int height) {
    SectionLock::Guard guard(lock_);
    if (closing_)
        return Stage::Closing;
    // The blocks come over what the screen showed, not over whatever the window's own
    // surface holds before its first painting (under desktop composition, not the screen).
    if (const std::unique_ptr<OffscreenSurface> start = std::move(startPicture_))
        BitBlt(window, 0, 0, width, height, start->dc(), 0, 0, SRCCOPY);
    // Paced by the reveal pacer: a close cuts the reveal short, and the hand-off follows.
    revealBlocks(window, RECT{0, 0, width, height}, sceneBuffer.dc(), POINT{0, 0}, kStartupReveal,
                 &revealPacer_);
    if (revealPacer_.stopRequested())
        return Stage::Closing;
    BitBlt(window, 0, 0, width, height, sceneBuffer.dc(), 0, 0, SRCCOPY);
    return Stage::Continue;
}

Animator::Stage Animator::animate(HDC window, const OffscreenSurface& sceneBuffer,
                                  const PowerSaveSettings& powerSave,
                                  const std::vector<BitmapHandle>& notices, FramePacer& pacer) {
    // Only a full-screen run reads the power policy; powrprof is loaded once for it.
    std::unique_ptr<PowerPolicyReader> policy;
    if (fullScreen_)
        policy = std::make_unique<PowerPolicyReader>();
    TickClock64 clock;
    const DesktopComposition composition;
    {
        SectionLock::Guard guard(lock_);
        compositionChanged_ = true; // asked at the first frame
    }
    Stage stage = Stage::Continue;
    LARGE_INTEGER ticksPerSecond = {};
    QueryPerformanceFrequency(&ticksPerSecond);
    pacer.startSchedule();
    for (std::uint32_t frame = 0; stage == Stage::Continue; ++frame) {
        LARGE_INTEGER frameStart = {};
        QueryPerformanceCounter(&frameStart);
        if (policy && frame % kPowerSaveCheckInterval == 0)
            applyPowerSaveRule(*policy, clock, powerSave);
        {
            SectionLock::Guard guard(lock_);
            for (;;) {
                // Tested after every poll too: a close that came during a pause is final.
                if (closing_) {
                    stage = Stage::Closing;
                    break;
                }
                if (!paused_)
                    break;
                pace_.chained = false;
                guard.unlock();
                if (!pacer.sleep(kPausedPollMs)) {
                    stage = Stage::Stopped;
                    break;
                }
                guard.relock();
                // The frame after a pause comes at once, the next a period after it.
                pacer.startSchedule();
                QueryPerformanceCounter(&frameStart);
            }
            if (stage != Stage::Continue)
                break;
            recordFrameStart(frameStart, ticksPerSecond);
            if (compositionChanged_) {
                compositionChanged_ = false;
                const bool composed = composition.enabled();
                for (SceneSlot& slot : slots_)
                    if (!slot.broken())
                        slot.scene->setComposedTarget(composed);
            }
            // Every monitor's Scene in turn, in the same frame. No scratch surface: the
            // slide show blends straight from its strip, a full-screen copy less per frame
            // of a cross-fade, with the same pixels.
            for (SceneSlot& slot : slots_) {
                if (slot.broken())
                    continue;
                SlotScope scope(slot, window, sceneBuffer.dc());
                slot.scene->draw(window, sceneBuffer.dc(), false, repaintRequested_, nullptr);
                slot.scene->advance();
            }
            if (repaintRequested_)
                showNotices(window, notices);
            repaintRequested_ = false;
        }
        if (!pacer.waitForNextFrame(kFramePeriodMs))
            stage = Stage::Stopped;
    }
    return stage;
}

void Animator::recordFrameStart(LARGE_INTEGER start, LARGE_INTEGER ticksPerSecond) {
    ++pace_.frames;
    if (pace_.chained && ticksPerSecond.QuadPart > 0) {
        const double ms = 1000.0 * static_cast<double>(start.QuadPart - pace_.lastStart.QuadPart) /
                          static_cast<double>(ticksPerSecond.QuadPart);
        ++pace_.intervals;
        pace_.sumMs += ms;
        if (ms > pace_.worstMs)
            pace_.worstMs = ms;
    }
    pace_.lastStart = start;
    pace_.chained = true;
}

// The policy is read outside the lock (a slow query must not hold up the window thread);
// only the Scene's flag is set under it.
void Animator::applyPowerSaveRule(const PowerPolicyReader& policy, TickClock64& clock,
                                  const PowerSaveSettings& settings) {
    DWORD idleTimeout = 0;
    if (!policy.queryIdleTimeout(idleTimeout))
        return; // unknown: the Scene keeps its flag
    const bool due = powerSaveDue(idleTimeout, clock.elapsed(), settings);
    SectionLock::Guard guard(lock_);
    if (closing_)
        return;
    for (SceneSlot& slot : slots_)
        if (!slot.broken())
            slot.scene->setPowerSave(due);
}
