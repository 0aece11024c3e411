#pragma once
#include "scene/scene.h"
#include "scene/scene_setup.h"
#include "tests/support/pixels.h"
#include "timing/frame_pacer.h"

#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The background of the drawing tests: every pixel tells where it lies.
inline COLORREF backgroundColour(int x, int y) {
    return RGB(x % 256, y % 256, 128);
}

inline const COLORREF kKeyColour = RGB(255, 0, 255);
inline const COLORREF kSpriteInk = RGB(250, 20, 131);     // the sprite's upper half
inline const COLORREF kSpriteInkBelow = RGB(40, 190, 60); // and its lower half
inline const COLORREF kSentinel = RGB(1, 254, 3);

// Pixel (x, y) of a sprite with a key-coloured frame one pixel wide around ink of one colour
// in its upper half and another in its lower half: drawn upside down, it differs.
inline COLORREF framedSpritePixel(int width, int height, int x, int y) {
    if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
        return kKeyColour;
    return y < height / 2 ? kSpriteInk : kSpriteInkBelow;
}
inline PixelFunction framedSprite(int width, int height) {
    return [width, height](int x, int y) { return framedSpritePixel(width, height, x, y); };
}

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

// The record the loader delivers for a type it found: full screen, the move type and the
// screen size, resting at the start (no resume values), no pictures yet. Tests add the
// pictures (makeDibBitmap) and the parameters they need.
SceneSetup foundType(std::int32_t moveType, int screenWidth, int screenHeight);

// Appends ",x,y" to a picture parameter string.
void appendPair(std::string& text, int x, int y);
