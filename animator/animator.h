#pragma once
#include <windows.h>

class Scene;

// Owns the Scene, its one lock and the render thread that animates it at 12.5 frames
// per second; at close it can hand the last frame over as the desktop wallpaper.
class Animator {
  public:
    // Builds the Scene of the selected type (on the calling window thread, under the
    // lock) and starts the render thread.
    Animator(HINSTANCE instance, HWND window, bool fullScreen);
    // Ends the render thread, then destroys the Scene.
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

    // (private state: the implementation adds it)
};
