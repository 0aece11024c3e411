#include "animator/animator.h"
#include "animator/monitor_layout.h"
#include "animator/monitor_resume.h"
#include "animator/screen_picture.h"
#include "platform/gdi_handles.h"
#include "raster/offscreen_surface.h"
#include "scene/scene.h"
#include "scene/scene_loader.h"
#include "settings/preferences.h"

#include <new>
#include <optional>
#include <utility>

namespace {

// The render thread ends within one wait once asked; past this it is ended by force.
constexpr DWORD kThreadEndTimeoutMs = 5000;
constexpr DWORD kForcedEndExitCode = 1;

HANDLE newEvent(bool manualReset) {
    return CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
}

} // namespace

bool SceneSlot::broken() const {
    return !scene || scene->isBroken();
}

Animator::Animator(HINSTANCE instance, HWND window, bool fullScreen,
                   std::unique_ptr<OffscreenSurface> startPicture, AnimatorStart start)
    : instance_(instance), window_(window), fullScreen_(fullScreen), start_(start),
      stopEvent_(newEvent(true)), interruptEvent_(newEvent(true)), repaintEvent_(newEvent(false)),
      revealPacer_(interruptEvent_.get(), &paceClock_) {
    RECT rect{};
    GetWindowRect(window, &rect);
    // A shown full-screen window covers the screen: what the screen shows now is its own
    // picture (as after a refused password on the 9x family).
    if (!startPicture && fullScreen && start == AnimatorStart::Fresh)
        startPicture = copyOfScreen(rect);
    if (startPicture && startPicture->width() == rect.right - rect.left &&
        startPicture->height() == rect.bottom - rect.top)
        startPicture_ = std::move(startPicture);
    // Full screen, every monitor shows a picture of its own size; a preview is one.
    const RECT whole = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    windowArea_ = whole;
    areas_ = fullScreen ? layOutMonitorAreas(rect, displayMonitors())
                        : std::vector<MonitorArea>{{whole, true}};
    typeNumber_ = static_cast<int>(loadSelectedType());
    // Where the other monitors stood when a spanned wallpaper was handed over, if it was
    // made on this layout; else only the primary resumes. Only at the start of a run: a
    // rebuilt Animator goes on from nothing stored.
    if (fullScreen && start == AnimatorStart::Fresh)
        othersResume_ = resumeOfOtherMonitors(areas_, POINT{rect.left, rect.top});
    if (!fullScreen) {
        // What the preview shows while its pictures load; no other thread uses the
        // window's context yet.
        WindowDC dc(window);
        showPreviewPlaceholder(dc.get(), whole.right, whole.bottom);
    }
    // The pictures are loaded by the render thread: the window thread reads its messages
    // meanwhile. Without its events the thread could not be ended cleanly: then there is
    // none.
    if (stopEvent_ && interruptEvent_ && repaintEvent_) {
        thread_.reset(CreateThread(nullptr, 0, &Animator::threadEntry, this, 0, &threadId_));
        if (thread_)
            SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
    }
}

bool Animator::loadScenes() {
    const bool fresh = start_ == AnimatorStart::Fresh;
    // The window's own context serves the window thread meanwhile (its erases paint on it):
    // the pictures are made compatible with a context of the window's from the system's
    // cache, this thread's alone.
    WindowDC screen(window_, WindowDC::Source::Cache);
    std::vector<SceneSlot> built;
    std::size_t other = 0;
    for (const MonitorArea& area : areas_) {
        if (WaitForSingleObject(stopEvent_.get(), 0) == WAIT_OBJECT_0)
            return false;
        SceneSlot slot{area.rect, area.primary, nullptr, RegionHandle()};
        if (!EqualRect(&area.rect, &windowArea_))
            slot.clip.reset(CreateRectRgnIndirect(&area.rect));
        const ResumeValues* own = nullptr;
        if (!area.primary && other < othersResume_.size())
            own = &othersResume_[other++];
        SceneSetup setup =
            loadSceneSetup(typeNumber_, screen.get(), slot.width(), slot.height(), fullScreen_,
                           fresh && (area.primary || own), own, nullptr, stopEvent_.get());
        if (WaitForSingleObject(stopEvent_.get(), 0) == WAIT_OBJECT_0)
            return false;
        slot.scene.reset(new (std::nothrow) Scene(std::move(setup), screen.get()));
        if (slot.scene)
            slot.scene->setRevealPacer(&revealPacer_);
        built.push_back(std::move(slot));
    }
    // Only now, and only under the lock, do the Scenes become the Animator's.
    SectionLock::Guard guard(lock_);
    if (closing_)
        return false;
    slots_ = std::move(built);
    loaded_ = true;
    return true;
}

void Animator::discard(std::unique_ptr<Animator> animator) {
    if (!animator)
        return;
    {
        SectionLock::Guard guard(animator->lock_);
        animator->closing_ = true;
        if (animator->thread_ && !animator->loaded_ && !animator->threadEnded_) {
            // Still loading: a close never waits for that. The thread ends at its next
            // picture and then lets go of the Animator itself.
            animator->abandoned_ = true;
            SetEvent(animator->stopEvent_.get());
            animator.release();
            return;
        }
    }
    animator.reset();
}

Animator::~Animator() {
    // An abandoned Animator is let go by its own thread, which has ended its work.
    if (thread_ && GetCurrentThreadId() != threadId_) {
        SetEvent(interruptEvent_.get());
        SetEvent(stopEvent_.get());
        if (WaitForSingleObject(thread_.get(), kThreadEndTimeoutMs) != WAIT_OBJECT_0) {
            // Stuck outside any wait of its own: the last resort.
            TerminateThread(thread_.get(), kForcedEndExitCode);
            WaitForSingleObject(thread_.get(), kThreadEndTimeoutMs);
        }
    }
    slots_.clear(); // only now that nothing can reach the Scenes
    startPicture_.reset();
    sceneBuffer_.reset();
    handOffBuffer_.reset();
}

bool Animator::anyHealthySlot() const {
    for (const SceneSlot& slot : slots_)
        if (!slot.broken())
            return true;
    return false;
}

SceneSlot* Animator::primarySlot() {
    for (SceneSlot& slot : slots_)
        if (slot.primary)
            return &slot;
    return slots_.empty() ? nullptr : &slots_.front();
}

void Animator::requestRepaint() {
    SectionLock::Guard guard(lock_);
    repaintRequested_ = true;
    if (repaintEvent_)
        SetEvent(repaintEvent_.get());
}

FramePaceStatistics Animator::frameStatistics() const {
    SectionLock::Guard guard(lock_);
    FramePaceStatistics statistics;
    statistics.frames = pace_.frames;
    statistics.meanIntervalMs = pace_.intervals ? pace_.sumMs / pace_.intervals : 0;
    statistics.worstIntervalMs = pace_.worstMs;
    return statistics;
}

bool Animator::picturesLoaded() const {
    SectionLock::Guard guard(lock_);
    return loaded_;
}

bool Animator::paintWhileLoading(HDC dc) {
    // The render thread takes the window's context only once loaded_ is set, under the lock:
    // before, this thread may use it, and take it (never once the render thread draws).
    SectionLock::Guard guard(lock_);
    if (loaded_ || closing_)
        return false;
    std::optional<WindowDC> own;
    if (!dc) {
        own.emplace(window_);
        dc = own->get();
    }
    const int width = windowArea_.right;
    const int height = windowArea_.bottom;
    if (startPicture_)
        BitBlt(dc, 0, 0, width, height, startPicture_->dc(), 0, 0, SRCCOPY);
    else if (!fullScreen_)
        showPreviewPlaceholder(dc, width, height);
    return true;
}

void Animator::compositionChanged() {
    SectionLock::Guard guard(lock_);
    compositionChanged_ = true;
}

void Animator::setPaused(bool paused) {
    // A broken Scene's notice takes no notice of it; Scenes still loading find it set.
    SectionLock::Guard guard(lock_);
    paused_ = paused;
}
