#include "animator/active_desktop.h"
#include "animator/animator.h"
#include "animator/apply_wallpaper.h"
#include "animator/directory_path.h"
#include "animator/offscreen_surface.h"
#include "animator/scene_position.h"
#include "animator/wallpaper_file.h"
#include "platform/gdi_handles.h"
#include "scene/scene.h"
#include "settings/text_buffer.h"
#include "settings/wallpaper_decision.h"

#include <shlobj.h>

#include <memory>

void Animator::handOffWallpaper() {
    if (!scene_ || scene_->isBroken()) {
        // Nothing to hand over; the notice is no longer refreshed, only repainted.
        SectionLock::Guard guard(lock_);
        closing_ = true;
        return;
    }
    // A power-save reveal in progress holds the lock for seconds: it ends now.
    if (interruptEvent_)
        SetEvent(interruptEvent_.get());
    {
        SectionLock::Guard guard(lock_);
        closing_ = true;
        if (fullScreen_ && shouldBuildWallpaper())
            handOffLastFrame();
    }
    // Only now that the hand-off is done with the window's context may the render thread
    // let go of what it made from it.
    if (stopEvent_)
        SetEvent(stopEvent_.get());
}

void Animator::handOffLastFrame() {
    scene_->finishMotion();
    OwnWallpaperLocation own;
    if (!locateOwnWallpaper(window_, own))
        return;
    createDirectoryPath(own.folder);

    RECT rect{};
    GetWindowRect(window_, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // The render thread's back buffer is made and touched already, and no frame is drawn
    // into it any more; only a close before the thread made it needs a bitmap of its own.
    std::unique_ptr<OffscreenSurface> ownSurface;
    const OffscreenSurface* surface = sceneBuffer_.get();
    if (!surface || !*surface) {
        WindowDC window(window_);
        ownSurface = std::make_unique<OffscreenSurface>(window.get(), width, height);
        surface = ownSurface.get();
    }
    if (!*surface)
        return;
    scene_->draw(surface->dc(), nullptr, true, false, nullptr);
    // Nothing changes unless the new picture is wholly in place; the resume values then
    // describe the picture that the desktop shows.
    if (!writeWallpaperFile(surface->bitmap(), width, height, own.file))
        return;
    saveScenePosition(*scene_);
    applyWallpaper(own.file, WPSTYLE_STRETCH);
}
