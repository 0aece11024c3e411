#include "animator.h"
#include "gdi_handles.h"
#include "preferences.h"
#include "scene.h"

#include <new>

namespace {

// The render thread ends within one wait once asked; past this it is ended by force.
constexpr DWORD kThreadEndTimeoutMs = 5000;
constexpr DWORD kForcedEndExitCode = 1;

} // namespace

Animator::Animator(HINSTANCE instance, HWND window, bool fullScreen)
    : instance_(instance), window_(window), fullScreen_(fullScreen) {
    SectionLock::Guard guard(lock_);
    RECT rect{};
    GetWindowRect(window, &rect);
    {
        WindowDC dc(window);
        scene_.reset(new (std::nothrow)
                         Scene(static_cast<int>(loadSelectedType()), dc.get(),
                               rect.right - rect.left, rect.bottom - rect.top, fullScreen));
    }
    // Without a stop event the thread could not be ended cleanly: then there is none.
    stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (stopEvent_) {
        thread_.reset(CreateThread(nullptr, 0, &Animator::threadEntry, this, 0, &threadId_));
        if (thread_)
            SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
    }
}

Animator::~Animator() {
    if (thread_) {
        SetEvent(stopEvent_.get());
        if (WaitForSingleObject(thread_.get(), kThreadEndTimeoutMs) != WAIT_OBJECT_0) {
            // Stuck outside any wait of its own: the last resort.
            TerminateThread(thread_.get(), kForcedEndExitCode);
            WaitForSingleObject(thread_.get(), kThreadEndTimeoutMs);
        }
    }
    scene_.reset(); // only now that nothing can reach it
}

void Animator::requestRepaint() {
    SectionLock::Guard guard(lock_);
    repaintRequested_ = true;
}

void Animator::setPaused(bool paused) {
    if (!scene_ || scene_->isBroken())
        return;
    SectionLock::Guard guard(lock_);
    paused_ = paused;
}
