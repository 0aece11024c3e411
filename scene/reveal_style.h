#pragma once
#include "scene/block_reveal.h"

#include <cstdint>

// The style that the type's MotionWhilePowerSave selects: 0 full-width lines in
// interleaved passes, 2 full-width lines at random, any other value a 16 x 16 grid at
// random.
RevealStyle revealStyleFor(std::int32_t motionWhilePowerSave, int screenWidth, int screenHeight);
