#pragma once
#include "frame_pacer.h"
#include "gdi_handles.h"
#include "scene.h"

#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using PixelFunction = std::function<COLORREF(int x, int y)>;

// Writes a 24-bit bottom-up BMP file.
void writeBmp(const std::string& path, int width, int height, const PixelFunction& colour);

// A 32-bit DIB section holding the given pixels, selected nowhere (as a sprite must be).
BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour);

// A 32-bit top-down DIB section selected into its own memory context.
class DibSurface {
  public:
    DibSurface(int width, int height, COLORREF fill = RGB(0, 0, 0));
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    COLORREF pixel(int x, int y) const;
    void setPixel(int x, int y, COLORREF colour);
    void fill(COLORREF colour);
    void paint(const PixelFunction& colour);
    // Pixels that are not `colour`, row by row (true: differs).
    std::vector<bool> differing(COLORREF colour) const;
    int countDiffering(COLORREF colour) const;

  private:
    int width_;
    int height_;
    std::uint32_t* bits_ = nullptr;
    BitmapHandle bitmap_;
    MemoryDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// The pixels of rect (left, top, right, bottom) as a mask in the shape of differing().
std::vector<bool> rectMask(int width, int height, const RECT& rect);

// Start and wait calls, in order, without any real waiting.
class RecordingPacer : public FramePacer {
  public:
    struct Event {
        bool wait;
        DWORD periodMs;
    };
    std::vector<Event> events;
    std::function<void(bool wait)> onEvent;
    int stopAtWait = 0; // when > 0, the wait with this number (from 1) reports a stop

    void start() override {
        events.push_back({false, 0});
        if (onEvent)
            onEvent(false);
    }
    bool waitUntil(DWORD periodMs) override {
        events.push_back({true, periodMs});
        if (onEvent)
            onEvent(true);
        return stopAtWait <= 0 || waits() < stopAtWait;
    }
    int waits() const;
};

// The tests' way into a Scene's state.
struct SceneTestAccess {
    static SceneMotion& motion(Scene& scene) { return scene.motion_; }
    static void setRevealPacer(Scene& scene, FramePacer* pacer) { scene.revealPacer_ = pacer; }
    static HBITMAP sprite(const Scene& scene) { return scene.sprite_.get(); }
    // The background stays selected into this context for the Scene's life.
    static HDC backgroundDC(const Scene& scene) { return scene.backgroundDC_.get(); }
};

// Appends ",x,y" to a picture parameter string.
void appendPair(std::string& text, int x, int y);

// Channel-wise comparison allowing `tolerance` steps.
bool nearColour(COLORREF a, COLORREF b, int tolerance);
