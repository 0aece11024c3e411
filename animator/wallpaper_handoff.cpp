#include "animator/active_desktop.h"
#include "animator/animator.h"
#include "animator/apply_wallpaper.h"
#include "animator/directory_path.h"
#include "animator/scene_position.h"
#include "animator/wallpaper_file.h"
#include "platform/gdi_handles.h"
#include "scene/scene.h"
#include "settings/text_buffer.h"
#include "settings/wallpaper_decision.h"

#include <shlobj.h>

void Animator::handOffWallpaper() {
    if (!scene_ || scene_->isBroken())
        return;
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
    WindowDC window(window_);
    BitmapHandle frame(CreateCompatibleBitmap(window.get(), width, height));
    MemoryDC memory(window.get());
    if (!window || !frame || !memory)
        return;
    {
        SelectedObject selection(memory.get(), frame.get());
        if (!selection)
            return;
        scene_->draw(memory.get(), nullptr, true, false, nullptr);
    } // deselected: the capture reads the bitmap on its own
    // Nothing changes unless the new picture is wholly in place; the resume values then
    // describe the picture that the desktop shows.
    if (!writeWallpaperFile(frame.get(), width, height, own.file))
        return;
    saveScenePosition(*scene_);
    applyWallpaper(own.file, WPSTYLE_STRETCH);
}
