#pragma once
#include <cstdint>

// How the Scene's power-save reveal cuts and paces the screen.
struct RevealStyle {
    int blockWidth;
    int blockHeight;
    unsigned stride;
    bool shuffle;
    unsigned blocksPerPause;
    unsigned pauseMs;
};

// The style that the type's MotionWhilePowerSave selects: 0 full-width lines in
// interleaved passes, 2 full-width lines at random, any other value a 16 x 16 grid at
// random.
RevealStyle revealStyleFor(std::int32_t motionWhilePowerSave, int screenWidth, int screenHeight);
