#pragma once
#include "animator/monitor_layout.h"
#include "platform/gdi_handles.h"
#include "platform/kernel_handles.h"
#include "platform/section_lock.h"
#include "raster/offscreen_surface.h"
#include "scene/scene_setup.h"
#include "timing/frame_pacer.h"

#include <windows.h>
#include <cstdint>
#include <memory>
#include <vector>

// How the render thread has kept the frame period in its main loop: the frames drawn and
// the intervals between the starts of consecutive frames (a pause breaks the chain).
struct FramePaceStatistics {
    std::uint32_t frames = 0;
    double meanIntervalMs = 0;
    double worstIntervalMs = 0;
};

// How an Animator begins: with the start-up transition and, full screen, the stored
// position; or made anew for a display that changed while the saver runs, straight into
// its loop from the types' first positions.
enum class AnimatorStart { Fresh, Rebuilt };

class PowerPolicyReader;
class Scene;
class TickClock64;
struct PowerSaveSettings;

// One monitor's part of the saver window and the Scene shown there.
struct SceneSlot {
    RECT area; // in the window's coordinates
    bool primary;
    std::unique_ptr<Scene> scene; // null when it could not be allocated
    // The area as a region, when the window has more than this area: drawing of the
    // slot's Scene is clipped to it.
    RegionHandle clip;
    bool broken() const;
    int width() const { return area.right - area.left; }
    int height() const { return area.bottom - area.top; }
};

// Owns the Scenes (one per monitor that the window covers: one for a preview or a single
// monitor), their one lock and the render thread that animates them at 12.5 frames per
// second; at close it can hand the primary monitor's last frame over as the desktop
// wallpaper.
class Animator {
  public:
    // Starts the render thread, which loads the pictures of the selected type and builds
    // the Scenes before its first frame: the calling window thread goes on reading its
    // messages meanwhile (a preview shows its placeholder at once). startPicture is what the
    // screen showed where the window lies before the window was shown: the start-up
    // transition begins from it. Without one, a full-screen Animator copies the screen now,
    // a preview its window's content.
    Animator(HINSTANCE instance, HWND window, bool fullScreen,
             std::unique_ptr<OffscreenSurface> startPicture = nullptr,
             AnimatorStart start = AnimatorStart::Fresh);
    // Ends the render thread (it stops at its next wait), then destroys the Scenes.
    virtual ~Animator();
    // Lets go of an Animator at a close or a new layout without waiting for a load: one
    // still loading is marked closing and ends with its thread, at its next picture.
    static void discard(std::unique_ptr<Animator> animator);
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // The window lost its content: the next frame redraws everything (for a broken Scene,
    // the notice is drawn again).
    void requestRepaint();
    // The monitor went off (true) or on: no frames while paused. Ignored for a broken Scene.
    void setPaused(bool paused);
    // At close: marks the Animator as closing and, in full screen when the wallpaper
    // decision says so, saves the position and makes the last frame the wallpaper; then
    // tells the render thread to end.
    void handOffWallpaper();

    // The system turned desktop composition on or off (WM_DWMCOMPOSITIONCHANGED): the next
    // frame asks again how to reach the window.
    void compositionChanged();

    // Whether the render thread has loaded the pictures and built the Scenes: until then a
    // close hands nothing over.
    bool picturesLoaded() const;
    // While the pictures load, the window thread repaints what the window shows meanwhile
    // (the screen's picture full screen, the placeholder in a preview) onto dc, the window's
    // context given with an erase (null: taken here), and returns true; once the render
    // thread draws, false and nothing.
    bool paintWhileLoading(HDC dc);

    // The pace of the main loop so far, for measurements.
    FramePaceStatistics frameStatistics() const;

  private:
    // How a stage of the render thread ended.
    enum class Stage {
        Continue, // on to the next stage
        Closing,  // the hand-off marked the Animator as closing: idle until stopped
        Stopped,  // the thread was asked to end
    };

    static DWORD WINAPI threadEntry(void* animator);
    void run();
    // On the render thread: the Scenes of every monitor, built outside the lock and then
    // made the Animator's under it. False when the load was stopped or the Animator closed.
    bool loadScenes();
    void showNoticeUntilStopped();
    // The notice of each broken slot, stretched to its area, onto dc.
    void showNotices(HDC dc, const std::vector<BitmapHandle>& notices) const;
    std::vector<BitmapHandle> loadNotices() const;
    bool anyHealthySlot() const;
    SceneSlot* primarySlot();
    Stage crossFade(HDC window, const OffscreenSurface& sceneBuffer, int width, int height,
                    FramePacer& pacer);
    Stage revealFirstFrame(HDC window, const OffscreenSurface& sceneBuffer, int width, int height);
    Stage animate(HDC window, const OffscreenSurface& sceneBuffer,
                  const PowerSaveSettings& powerSave, const std::vector<BitmapHandle>& notices,
                  FramePacer& pacer);
    // Under the lock, full screen, when the decision says so: the primary's last frame
    // becomes the wallpaper and its position is stored.
    void handOffLastFrame(SceneSlot& primary);
    // Likewise on several monitors where the system spans one wallpaper over all: every
    // monitor's last frame at its place in one picture, and where each stood.
    void handOffSpannedFrames(SceneSlot& primary);
    void recordFrameStart(LARGE_INTEGER start, LARGE_INTEGER ticksPerSecond);
    void applyPowerSaveRule(const PowerPolicyReader& policy, TickClock64& clock,
                            const PowerSaveSettings& settings);

    // Guards the flags and every use of the Scenes and of the window's context. The
    // other fields do not change once the constructor has started the thread.
    mutable SectionLock lock_;
    HINSTANCE instance_;
    HWND window_;
    bool fullScreen_;
    AnimatorStart start_;
    bool repaintRequested_ = false;
    bool closing_ = false; // written only by the hand-off
    bool paused_ = false;
    bool compositionChanged_ = false;
    bool loaded_ = false;      // the Scenes are in slots_
    bool threadEnded_ = false; // the render thread is done with the Animator
    bool abandoned_ = false;   // discarded while loading: the thread deletes it
    // What the render thread loads: the monitors' areas in the window, the type, and where
    // the other monitors resume.
    RECT windowArea_ = {};
    std::vector<MonitorArea> areas_;
    int typeNumber_ = 0;
    std::vector<ResumeValues> othersResume_;
    // The main loop's pace, kept by the render thread under the lock.
    struct PaceRecord {
        LARGE_INTEGER lastStart = {};
        bool chained = false;
        std::uint32_t frames = 0;
        std::uint32_t intervals = 0;
        double sumMs = 0;
        double worstMs = 0;
    } pace_;
    // Set when the thread is to end: by the hand-off once it is done with the window,
    // and by the destructor. Every wait of the thread ends on it.
    KernelHandle stopEvent_;
    // Set by the hand-off before it takes the lock: a reveal in progress (seconds under
    // the lock) ends at once, so that a close never waits for one.
    KernelHandle interruptEvent_;
    // Wakes the thread of a broken Scene to draw the notice again.
    KernelHandle repaintEvent_;
    // The render thread's clock, for its frames and the reveals alike: it holds a finer
    // system timer period only while frames are paced, not while the thread pauses or idles.
    SystemPaceClock paceClock_;
    // Paces the Scene's power-save reveals; the Animator's own, so that the Scene never
    // points into the render thread's stack.
    FramePacer revealPacer_;
    std::vector<SceneSlot> slots_;
    // What the start-up transition begins from, of the window's size; null for a preview
    // until the fade copies its window. The render thread lets go of it after the transition.
    std::unique_ptr<OffscreenSurface> startPicture_;
    // The render thread's back buffer, made from the window's context under the lock; the
    // hand-off draws the last frame into it (nothing else draws once closing is set).
    std::unique_ptr<OffscreenSurface> sceneBuffer_;
    // On several monitors, the primary's picture for the hand-off has a surface of its own
    // size, made (and touched) at the start so that a close finds it ready.
    std::unique_ptr<OffscreenSurface> handOffBuffer_;
    KernelHandle thread_; // null when the thread could not be started
    DWORD threadId_ = 0;
};
