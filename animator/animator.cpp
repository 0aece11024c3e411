#include "animator/animator.h"
#include "animator/monitor_layout.h"
#include "animator/monitor_resume.h"
#include "animator/screen_picture.h"
#include "raster/offscreen_surface.h"
#include "scene/scene.h"
#include "scene/scene_loader.h"
#include "settings/preferences.h"

#include <new>
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
    SectionLock::Guard guard(lock_);
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
    const std::vector<MonitorArea> areas = fullScreen ? layOutMonitorAreas(rect, displayMonitors())
                                                      : std::vector<MonitorArea>{{whole, true}};
    const int typeNumber = static_cast<int>(loadSelectedType());
    // Where the other monitors stood when a spanned wallpaper was handed over, if it was
    // made on this layout; else only the primary resumes. Only at the start of a run: a
    // rebuilt Animator goes on from nothing stored.
    const bool fresh = start == AnimatorStart::Fresh;
    const std::vector<ResumeValues> others =
        fullScreen && fresh ? resumeOfOtherMonitors(areas, POINT{rect.left, rect.top})
                            : std::vector<ResumeValues>();
    WindowDC dc(window);
    std::size_t other = 0;
    for (const MonitorArea& area : areas) {
        SceneSlot slot{area.rect, area.primary, nullptr, RegionHandle()};
        if (!EqualRect(&area.rect, &whole))
            slot.clip.reset(CreateRectRgnIndirect(&area.rect));
        const ResumeValues* own = nullptr;
        if (!area.primary && other < others.size())
            own = &others[other++];
        SceneSetup setup = loadSceneSetup(typeNumber, dc.get(), slot.width(), slot.height(),
                                          fullScreen, fresh && (area.primary || own), own);
        slot.scene.reset(new (std::nothrow) Scene(std::move(setup), dc.get()));
        if (slot.scene)
            slot.scene->setRevealPacer(&revealPacer_);
        slots_.push_back(std::move(slot));
    }
    // Without its events the thread could not be ended cleanly: then there is none.
    if (stopEvent_ && interruptEvent_ && repaintEvent_) {
        thread_.reset(CreateThread(nullptr, 0, &Animator::threadEntry, this, 0, &threadId_));
        if (thread_)
            SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
    }
}

Animator::~Animator() {
    if (thread_) {
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

void Animator::compositionChanged() {
    SectionLock::Guard guard(lock_);
    compositionChanged_ = true;
}

void Animator::setPaused(bool paused) {
    if (!anyHealthySlot())
        return;
    SectionLock::Guard guard(lock_);
    paused_ = paused;
}
