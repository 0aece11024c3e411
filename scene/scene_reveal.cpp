#include "scene/block_reveal.h"
#include "scene/reveal_style.h"
#include "scene/scene.h"

#include <algorithm>

RevealStyle revealStyleFor(std::int32_t motionWhilePowerSave, int screenWidth, int screenHeight) {
    const int lineHeight = std::max(screenHeight / 400, 1);
    switch (motionWhilePowerSave) {
    case 0:
        return {screenWidth, lineHeight, static_cast<unsigned>(std::max(screenHeight / 20, 0)),
                false,       10,         40};
    case 2:
        return {screenWidth, lineHeight, 1, true, 10, 40};
    default:
        // A block size of 0 (a screen narrower than 16) means the whole width or height.
        return {screenWidth / 16, screenHeight / 16, 1, true, 25, 150};
    }
}

void Scene::revealScene(HDC target, HDC backBuffer) {
    if (isBroken() || !target || !backBuffer)
        return;
    const RevealStyle style =
        revealStyleFor(motionWhilePowerSave_, motion_.screenWidth, motion_.screenHeight);
    const RECT screen = {0, 0, motion_.screenWidth, motion_.screenHeight};
    revealBlocks(target, screen, backBuffer, POINT{0, 0}, style, revealPacer_);
}
