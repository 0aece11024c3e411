#include "animator/active_desktop.h"
#include "animator/animator.h"
#include "animator/apply_wallpaper.h"
#include "animator/directory_path.h"
#include "animator/monitor_resume.h"
#include "animator/scene_position.h"
#include "animator/slot_scope.h"
#include "animator/wallpaper_file.h"
#include "platform/gdi_handles.h"
#include "platform/windows_version.h"
#include "raster/offscreen_surface.h"
#include "scene/scene.h"
#include "settings/monitor_records.h"
#include "settings/text_buffer.h"
#include "settings/wallpaper_decision.h"

#include <shlobj.h>

#include <memory>

namespace {

// The wallpaper's place, its folder made; false when the folder is not known.
bool prepareOwnWallpaper(HWND window, OwnWallpaperLocation& own) {
    if (!locateOwnWallpaper(window, own))
        return false;
    createDirectoryPath(own.folder);
    return true;
}

// The surface that the render thread made and touched already (no frame is drawn into it
// once closing is set), when it is there and of the size; else one of the hand-off's own,
// kept in own (only a close before the thread made it, or another size, needs one).
const OffscreenSurface* handOffSurface(HWND window, const OffscreenSurface* ready, int width,
                                       int height, std::unique_ptr<OffscreenSurface>& own) {
    if (ready && *ready && ready->width() == width && ready->height() == height)
        return ready;
    WindowDC dc(window);
    own = std::make_unique<OffscreenSurface>(dc.get(), width, height);
    return *own ? own.get() : nullptr;
}

} // namespace

void Animator::handOffWallpaper() {
    {
        SectionLock::Guard guard(lock_);
        if (!loaded_) {
            // Nothing was shown yet, nothing to hand over: the desktop keeps what it has,
            // and the load stops at its next picture.
            closing_ = true;
            if (stopEvent_)
                SetEvent(stopEvent_.get());
            return;
        }
        if (!anyHealthySlot()) {
            // Nothing to hand over; the notices are no longer refreshed, only repainted.
            closing_ = true;
            return;
        }
    }
    // A power-save reveal in progress holds the lock for seconds: it ends now.
    if (interruptEvent_)
        SetEvent(interruptEvent_.get());
    {
        SectionLock::Guard guard(lock_);
        closing_ = true;
        // The primary monitor's picture: the system stretches the one wallpaper over
        // every monitor, and the next run resumes the primary's Scene alone.
        SceneSlot* primary = primarySlot();
        if (fullScreen_ && primary && !primary->broken() && shouldBuildWallpaper()) {
            // Where the system can span one picture over all monitors, each keeps its own.
            if (slots_.size() > 1 && atLeastWindows8())
                handOffSpannedFrames(*primary);
            else
                handOffLastFrame(*primary);
        }
    }
    // Only now that the hand-off is done with the window's context may the render thread
    // let go of what it made from it.
    if (stopEvent_)
        SetEvent(stopEvent_.get());
}

void Animator::handOffLastFrame(SceneSlot& primary) {
    Scene& scene = *primary.scene;
    scene.finishMotion();
    OwnWallpaperLocation own;
    if (!prepareOwnWallpaper(window_, own))
        return;
    const int width = primary.width();
    const int height = primary.height();
    // On several monitors the primary has a surface of its own size.
    std::unique_ptr<OffscreenSurface> ownSurface;
    const OffscreenSurface* surface =
        handOffSurface(window_, primary.clip ? handOffBuffer_.get() : sceneBuffer_.get(), width,
                       height, ownSurface);
    if (!surface)
        return;
    scene.draw(surface->dc(), nullptr, true, false, nullptr);
    // Nothing changes unless the new picture is wholly in place and the desktop took it;
    // the resume values then describe the picture that the desktop shows.
    if (!writeWallpaperFile(surface->dc(), width, height, own.file) ||
        !applyWallpaper(own.file, WPSTYLE_STRETCH))
        return;
    saveScenePosition(scene);
    clearMonitorRecords(); // no other monitor's picture is on the desktop
}

void Animator::handOffSpannedFrames(SceneSlot& primary) {
    for (SceneSlot& slot : slots_)
        if (!slot.broken())
            slot.scene->finishMotion();
    OwnWallpaperLocation own;
    if (!prepareOwnWallpaper(window_, own))
        return;
    // One picture of the window's size, the whole virtual screen: each monitor's last frame
    // at its place, black where no monitor (or a broken one) is.
    RECT rect = {};
    GetWindowRect(window_, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::unique_ptr<OffscreenSurface> ownSurface;
    const OffscreenSurface* surface =
        handOffSurface(window_, sceneBuffer_.get(), width, height, ownSurface);
    if (!surface)
        return;
    PatBlt(surface->dc(), 0, 0, width, height, BLACKNESS);
    std::vector<MonitorRecord> others;
    for (const SceneSlot& slot : slots_) {
        if (slot.broken())
            continue;
        {
            SlotScope scope(slot, surface->dc());
            slot.scene->draw(surface->dc(), nullptr, true, false, nullptr);
        }
        if (&slot == &primary)
            continue;
        const ResumeValues values = resumeValuesOf(*slot.scene);
        others.push_back({slot.area.left + rect.left, slot.area.top + rect.top,
                          slot.area.right + rect.left, slot.area.bottom + rect.top, values.value1,
                          values.value2, values.value3});
    }
    if (!writeWallpaperFile(surface->dc(), width, height, own.file) ||
        !applyWallpaper(own.file, WPSTYLE_SPAN))
        return;
    saveScenePosition(*primary.scene);
    if (others.empty() || !saveMonitorRecords(others))
        clearMonitorRecords();
}
