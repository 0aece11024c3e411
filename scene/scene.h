#pragma once
#include <windows.h>
#include <cstdint>

// How a picture type's background moves (the catalogue's MoveType).
enum MoveType : std::int32_t {
    MoveSlideShow = 0,
    MoveDrift = 1,
    MoveRandomHop = 2,
    MoveClock = 3,
    MoveWaypoints = 4,
};

// The animated picture of one catalogue type: a background held in a memory DC and a
// colour-keyed sprite blended over it. Built on the window thread; every later call comes
// from a thread that holds the Animator's lock.
class Scene {
  public:
    // Never fails as such: a Scene that cannot work is broken (isBroken).
    Scene(int typeNumber, HDC dc, int screenWidth, int screenHeight, bool fullScreen);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    bool isBroken() const;

    void setPowerSave(bool flag);
    // One motion step; called once per frame, after draw.
    void advance();
    // Completes a running transition so that the position saved at close is a resting one.
    void finishMotion();
    // Puts the current state on target, redrawing as little as possible (see the
    // implementation for the rules of backBuffer, fullRedraw, repaint and scratch).
    void draw(HDC target, HDC backBuffer, bool fullRedraw, bool repaint, HDC scratch);
    // Copies the whole screen from backBuffer to target block by block, in the style
    // that the type's MotionWhilePowerSave selects.
    void revealScene(HDC target, HDC backBuffer);

    bool fullScreen() const;
    std::int32_t moveType() const;
    int screenWidth() const;
    int screenHeight() const;
    std::int32_t phase() const;
    std::int32_t viewX() const;
    std::int32_t viewY() const;
    std::int32_t waypointIndex() const;

    // (private state: the implementation adds it)
};
