#include "animator/animator.h"
#include "animator/offscreen_surface.h"
#include "platform/gdi_handles.h"
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

Animator::Animator(HINSTANCE instance, HWND window, bool fullScreen)
    : instance_(instance), window_(window), fullScreen_(fullScreen), stopEvent_(newEvent(true)),
      interruptEvent_(newEvent(true)), repaintEvent_(newEvent(false)),
      revealPacer_(interruptEvent_.get()) {
    SectionLock::Guard guard(lock_);
    RECT rect{};
    GetWindowRect(window, &rect);
    {
        WindowDC dc(window);
        SceneSetup setup =
            loadSceneSetup(static_cast<int>(loadSelectedType()), dc.get(), rect.right - rect.left,
                           rect.bottom - rect.top, fullScreen);
        scene_.reset(new (std::nothrow) Scene(std::move(setup), dc.get()));
    }
    if (scene_)
        scene_->setRevealPacer(&revealPacer_);
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
    scene_.reset(); // only now that nothing can reach it
    sceneBuffer_.reset();
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

void Animator::setPaused(bool paused) {
    if (!scene_ || scene_->isBroken())
        return;
    SectionLock::Guard guard(lock_);
    paused_ = paused;
}
