#pragma once
#include "platform/kernel_handles.h"
#include "platform/section_lock.h"

#include <windows.h>
#include <cstddef>
#include <memory>

class FramePacer;
class OffscreenSurface;
class Scene;
class TickClock64;
struct PowerSaveSettings;

// Owns the Scene, its one lock and the render thread that animates it at 12.5 frames
// per second; at close it can hand the last frame over as the desktop wallpaper.
class Animator {
  public:
    // Builds the Scene of the selected type (on the calling window thread, under the
    // lock) and starts the render thread.
    Animator(HINSTANCE instance, HWND window, bool fullScreen);
    // Ends the render thread (it stops at its next wait), then destroys the Scene.
    virtual ~Animator();
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // The window lost its content: the next frame redraws everything.
    void requestRepaint();
    // The monitor went off (true) or on: no frames while paused. Ignored for a broken Scene.
    void setPaused(bool paused);
    // At close: marks the Animator as closing and, in full screen when the wallpaper
    // decision says so, saves the position and makes the last frame the wallpaper.
    void handOffWallpaper();

    // The idle time-out of the active power policy in seconds; false when unknown.
    static bool queryIdleTimeout(DWORD& seconds);

  private:
    // How a stage of the render thread ended.
    enum class Stage {
        Continue, // on to the next stage
        Closing,  // the hand-off marked the Animator as closing: idle until stopped
        Stopped,  // the destructor asked the thread to end
    };

    static DWORD WINAPI threadEntry(void* animator);
    void run();
    void showNotice();
    Stage crossFade(HDC window, const OffscreenSurface& sceneBuffer, int width, int height,
                    FramePacer& pacer);
    Stage revealFirstFrame(HDC window, const OffscreenSurface& sceneBuffer, int width, int height,
                           FramePacer& pacer);
    Stage animate(HDC window, const OffscreenSurface& sceneBuffer, int width, int height,
                  const PowerSaveSettings& powerSave, FramePacer& pacer);
    void applyPowerSaveRule(TickClock64& clock, const PowerSaveSettings& settings);

    // Guards the three flags and every use of the Scene. The other fields do not change
    // once the constructor has started the thread.
    SectionLock lock_;
    HINSTANCE instance_;
    HWND window_;
    bool fullScreen_;
    bool repaintRequested_ = false;
    bool closing_ = false; // written only by the hand-off
    bool paused_ = false;
    std::unique_ptr<Scene> scene_; // null when it could not be allocated
    // Set by the destructor: every wait of the render thread ends on it, and the thread
    // returns.
    KernelHandle stopEvent_;
    KernelHandle thread_; // null when the thread could not be started
    DWORD threadId_ = 0;
};
