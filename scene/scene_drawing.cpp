#include "raster/pixel_blend.h"
#include "scene/scene.h"
#include "scene/sprite_compose.h"
#include "scene/tiled_background.h"

#include <algorithm>

namespace {

RECT intersection(const RECT& a, const RECT& b) {
    RECT result = {};
    if (!IntersectRect(&result, &a, &b))
        SetRectEmpty(&result);
    return result;
}

void copyRect(HDC target, HDC source, const RECT& rect) {
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source,
           rect.left, rect.top, SRCCOPY);
}

void tileIfNotEmpty(HDC dc, const RECT& rect, HDC source, const SceneMotion& m) {
    if (!IsRectEmpty(&rect))
        drawBackgroundTiled(dc, rect, source, m.backgroundWidth, m.backgroundHeight, m.viewX,
                            m.viewY);
}

} // namespace

POINT Scene::framePoint(int frame, int x, int y) const {
    if (stripFrameHeight_)
        return {x, frame * stripFrameHeight_ + y};
    return {frame * motion_.screenWidth + x, y};
}

void Scene::tile(HDC dc, const RECT& rect) const {
    tileIfNotEmpty(dc, rect, backgroundDC_.get(), motion_);
}

void Scene::composeSpriteOnto(HDC dc, int alpha) const {
    spriteComposer_.compose(dc, POINT{spriteX_, spriteY_}, alpha);
}

void Scene::draw(HDC target, HDC backBuffer, bool fullRedraw, bool repaint, HDC scratch) {
    if (isBroken() || !target)
        return;
    if (motion_.moveType == MoveSlideShow)
        drawSlideShow(target, backBuffer, fullRedraw, repaint, scratch);
    else if (motion_.moveType >= MoveDrift && motion_.moveType <= MoveWaypoints)
        drawTiled(target, backBuffer, fullRedraw, repaint);
}

// Blends frame `frame` of the strip over area of out (screen coordinates) with the given
// weight. The area is kept inside the screen and the background: a source rectangle that
// leaves the source surface makes AlphaBlend fail as a whole.
void Scene::crossFade(HDC out, const RECT& area, int frame, int weight, HDC scratch) const {
    if (weight == 0)
        return; // a weight of 0 leaves out unchanged
    const int W = motion_.screenWidth;
    const int H = motion_.screenHeight;
    const RECT inside = intersection(area, RECT{0, 0, W, std::min(H, motion_.backgroundHeight)});
    if (IsRectEmpty(&inside))
        return;
    const int w = inside.right - inside.left;
    const int h = inside.bottom - inside.top;
    const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(weight), 0};
    HDC source = backgroundDC_.get();
    POINT from = framePoint(frame, inside.left, inside.top);
    if (scratch) {
        BitBlt(scratch, inside.left, inside.top, w, h, source, from.x, from.y, SRCCOPY);
        source = scratch;
        from = {inside.left, inside.top};
    }
    GdiAlphaBlend(out, inside.left, inside.top, w, h, source, from.x, from.y, w, h, function);
}

// Frame `frame` of the strip with frame `next` blended over it at the given weight, into area
// of out. Computed in one pass over the pixels when out and the strip are top-down 32-bit
// pictures in memory (the platform's blend is many times slower), else copied and
// cross-faded through GDI.
void Scene::drawFrames(HDC out, const RECT& area, int frame, int next, int weight,
                       HDC scratch) const {
    const POINT from = framePoint(frame, area.left, area.top);
    if (strip_ && crossFadeInto(topDownPixelsOf(out), area, strip_, from, strip_,
                                framePoint(next, area.left, area.top), weight))
        return;
    BitBlt(out, area.left, area.top, area.right - area.left, area.bottom - area.top,
           backgroundDC_.get(), from.x, from.y, SRCCOPY);
    crossFade(out, area, next, weight, scratch);
}

// The whole screen: frame `frame` with `next` blended over it at weight and the sprite over
// them, made a band of rows at a time in memory and copied to target at once, while it is
// still in the processor's cache. The frame is read from the strip and written to the
// window once, and nothing screen-sized is written in between. False, having drawn
// nothing, when the strip or the band cannot be reached.
bool Scene::drawInBands(HDC target, int frame, int next, int weight, int alpha) const {
    const int W = motion_.screenWidth;
    const int H = motion_.screenHeight;
    if (!bandPixels_ || !strip_.contains(framePoint(frame, 0, 0), W, H) ||
        !strip_.contains(framePoint(next, 0, 0), W, H))
        return false;
    for (int top = 0; top < H; top += bandPixels_.height) {
        PixelView band = bandPixels_;
        band.origin = {0, -top}; // the band's first row is the screen's row `top`
        band.clip = {0, top, W, std::min(top + bandPixels_.height, H)};
        crossFadeInto(band, band.clip, strip_, framePoint(frame, 0, top), strip_,
                      framePoint(next, 0, top), weight);
        spriteComposer_.composeInto(band, POINT{spriteX_, spriteY_}, alpha);
        BitBlt(target, 0, top, W, band.clip.bottom - top, band_->dc(), 0, 0, SRCCOPY);
    }
    return true;
}

void Scene::drawSlideShow(HDC target, HDC backBuffer, bool fullRedraw, bool repaint, HDC scratch) {
    SceneMotion& m = motion_;
    const int W = m.screenWidth;
    const int H = m.screenHeight;
    const int frames = slideFrames(m);
    const int k = m.phase / kFrameLength;
    const int next = ((m.phase + kFrameLength) / kFrameLength) % frames;
    const int f = m.phase % kFrameLength;
    HDC out = backBuffer ? backBuffer : target;
    const int alpha = fullRedraw ? 255 : m.spriteAlpha;

    // In full-screen power save the phase only stands on frame boundaries: a jump.
    if (m.powerSaveLatched && fullScreen_ && m.phase != m.drawnPhase &&
        m.phase != m.unrevealedPhase && !fullRedraw && backBuffer) {
        m.drawnAlpha = m.spriteAlpha;
        m.drawnPhase = m.phase;
        const POINT from = framePoint(k % frames, 0, 0);
        BitBlt(backBuffer, 0, 0, W, H, backgroundDC_.get(), from.x, from.y, SRCCOPY);
        composeSpriteOnto(backBuffer, alpha);
        revealScene(target, backBuffer);
        return;
    }

    const RECT screen = {0, 0, W, H};
    RECT changed = {};
    if (fullRedraw || repaint || m.phase != m.drawnPhase) {
        // One step of a cross-fade moves every pixel by a few levels at most: a seam between
        // two steps cannot be seen, so even a composed target may take it in bands.
        const bool fadeStep =
            !fullRedraw && !repaint &&
            m.phase == (m.drawnPhase + kPhaseStep) % (slideFrames(m) * kFrameLength);
        m.drawnPhase = m.phase;
        m.drawnAlpha = m.spriteAlpha;
        if (backBuffer && (!composedTarget_ || fadeStep) && drawInBands(target, k, next, f, alpha))
            return;
        drawFrames(out, screen, k, next, f, scratch);
        composeSpriteOnto(out, alpha);
        changed = screen;
    } else if (m.spriteAlpha == m.drawnAlpha) {
        return;
    } else {
        m.drawnAlpha = m.spriteAlpha;
        // Only the part of the sprite's rectangle that is on the screen matters; outside
        // it the strip's neighbouring frames would be read.
        changed = intersection(spriteRect(), screen);
        if (IsRectEmpty(&changed))
            return;
        drawFrames(out, changed, k, next, f, nullptr);
        composeSpriteOnto(out, alpha);
    }
    if (backBuffer && !IsRectEmpty(&changed))
        copyRect(target, backBuffer, changed);
}

void Scene::drawSpriteRect(HDC target, HDC backBuffer, int alpha) {
    const RECT sprite = spriteRect();
    if (backBuffer) {
        tile(backBuffer, sprite);
        composeSpriteOnto(backBuffer, alpha);
        copyRect(target, backBuffer, sprite);
        return;
    }
    // A picture of our own, so that the sprite is blended in memory.
    const OffscreenSurface temporary(target, spriteWidth_, spriteHeight_);
    if (!temporary)
        return;
    drawBackgroundTiled(temporary.dc(), RECT{0, 0, spriteWidth_, spriteHeight_},
                        backgroundDC_.get(), motion_.backgroundWidth, motion_.backgroundHeight,
                        motion_.viewX + spriteX_, motion_.viewY + spriteY_);
    spriteComposer_.compose(temporary.dc(), POINT{0, 0}, alpha);
    BitBlt(target, spriteX_, spriteY_, spriteWidth_, spriteHeight_, temporary.dc(), 0, 0, SRCCOPY);
}

void Scene::drawTiled(HDC target, HDC backBuffer, bool fullRedraw, bool repaint) {
    SceneMotion& m = motion_;
    const int W = m.screenWidth;
    const int H = m.screenHeight;
    const int alpha = fullRedraw ? 255 : m.spriteAlpha;
    const bool viewMoved = m.viewX != m.drawnViewX || m.viewY != m.drawnViewY;

    if ((m.moveType == MoveRandomHop || m.moveType == MoveWaypoints) && m.powerSaveLatched &&
        fullScreen_ && viewMoved && !fullRedraw && backBuffer) {
        m.drawnAlpha = m.spriteAlpha;
        m.drawnViewX = m.viewX;
        m.drawnViewY = m.viewY;
        tile(backBuffer, RECT{0, 0, W, H});
        composeSpriteOnto(backBuffer, alpha);
        revealScene(target, backBuffer);
        return;
    }

    const bool everything = fullRedraw || repaint;
    if (composedTarget_ && backBuffer && (everything || viewMoved)) {
        // The whole picture in memory, then one copy: the compositor never shows part of
        // one frame beside part of the last.
        m.drawnAlpha = m.spriteAlpha;
        m.drawnViewX = m.viewX;
        m.drawnViewY = m.viewY;
        const RECT screen = {0, 0, W, H};
        tile(backBuffer, screen);
        composeSpriteOnto(backBuffer, alpha);
        copyRect(target, backBuffer, screen);
        return;
    }
    // A visible sprite's transparent pixels show the background, which moves with the
    // view: its rectangle is recomposed then too, not only when its alpha changed.
    if (everything || m.spriteAlpha != m.drawnAlpha || (viewMoved && alpha != 0)) {
        m.drawnAlpha = m.spriteAlpha;
        drawSpriteRect(target, backBuffer, alpha);
    }
    if (!everything && !viewMoved)
        return;

    m.drawnViewX = m.viewX;
    m.drawnViewY = m.viewY;
    if (alpha == 0) {
        tile(target, RECT{0, 0, W, H});
        return;
    }
    // The four bands around the sprite, each only when not empty.
    const int sx = spriteX_;
    const int sy = spriteY_;
    const int right = spriteX_ + spriteWidth_;
    const int bottom = spriteY_ + spriteHeight_;
    tile(target, RECT{0, 0, W, sy});
    tile(target, RECT{0, sy, sx, bottom});
    tile(target, RECT{right, sy, W, bottom});
    tile(target, RECT{0, bottom, W, H});
}
