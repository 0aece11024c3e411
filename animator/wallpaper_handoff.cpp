#include "animator.h"
#include "active_desktop.h"
#include "apply_wallpaper.h"
#include "directory_path.h"
#include "gdi_handles.h"
#include "scene.h"
#include "scene_position.h"
#include "text_buffer.h"
#include "wallpaper_decision.h"
#include "wallpaper_file.h"

#include <shlobj.h>

void Animator::handOffWallpaper() {
    if (!scene_ || scene_->isBroken())
        return;
    // The Animator is destroyed right after the hand-off: stop the render thread's waits
    // now, so that a power-save reveal in progress ends instead of holding up the close.
    if (stopEvent_)
        SetEvent(stopEvent_.get());
    SectionLock::Guard guard(lock_);
    closing_ = true;
    if (!fullScreen_ || !shouldBuildWallpaper())
        return;
    scene_->finishMotion();
    char path[kPathCapacity];
    if (!formWallpaperPath(path, sizeof path))
        return;

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
    if (!writeWallpaperFile(frame.get(), width, height, path))
        return;
    saveScenePosition(*scene_);
    applyWallpaper(path, WPSTYLE_STRETCH);
}

bool Animator::formWallpaperPath(char* path, std::size_t capacity) const {
    char folder[kPathCapacity];
    if (!SHGetSpecialFolderPathA(window_, folder, CSIDL_LOCAL_APPDATA, TRUE))
        return false;
    char text[260];
    if (LoadStringA(instance_, kDataFolderStringId, text, sizeof text) <= 0 ||
        !appendText(folder, sizeof folder, text))
        return false;
    createDirectoryPath(folder);
    if (LoadStringA(instance_, kWallpaperFileStringId, text, sizeof text) <= 0)
        return false;
    return copyText(path, capacity, folder) && appendText(path, capacity, text);
}
