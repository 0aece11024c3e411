#pragma once
#include "platform/gdi_handles.h"
#include "raster/offscreen_surface.h"
#include "raster/pixel_view.h"
#include "scene/scene_motion.h"
#include "scene/scene_setup.h"
#include "scene/sprite_compose.h"

#include <windows.h>
#include <cstdint>
#include <memory>

class FramePacer;

// Why a Scene is broken. The saver needs only isBroken; the catalogue checker tells
// authors the reason.
enum class SceneFault {
    None,
    Setup,                   // the setup lacks its type or a picture: see its fault
    NoDrawingContext,        // the system gave no memory context or sprite masks for it
    UnreadablePicture,       // a picture whose size cannot be read, or without pixels
    StripNarrowerThanScreen, // a slide show's strip holds not even one screen-wide frame
};

// The animated picture of one catalogue type: a background held in a memory DC and a
// colour-keyed sprite blended over it. Built on the window thread from a SceneSetup; every
// later call comes from a thread that holds the Animator's lock. It reads no file, no
// catalogue and no registry value of its own.
class Scene {
  public:
    // Never fails as such: a Scene that cannot work is broken (isBroken): the setup lacks
    // its type or a picture, or its numbers would leave the motion or the drawing nothing
    // to work on. dc is the window's context: the Scene's memory context is made
    // compatible with it.
    Scene(SceneSetup setup, HDC dc);
    virtual ~Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // True when construction did not complete; such a Scene is only destroyed.
    bool isBroken() const { return fault_ != SceneFault::None; }
    SceneFault fault() const { return fault_; }

    // Taken over by the motion at its next decision point.
    void setPowerSave(bool flag);
    // One motion step; called once per frame, after draw.
    void advance();
    // Completes a running cross-fade or glide so that the position saved at close is a
    // resting one (when the type's SkipIfReqFixedPos allows).
    void finishMotion();
    // Puts the current state on target, redrawing only what changed since the last call.
    // backBuffer (optional, screen-sized, kept by the caller between calls) is where the
    // changed parts are composed before they are copied to target (a whole slide-show frame
    // may go to target in bands instead, leaving backBuffer as it was); fullRedraw draws the
    // whole picture with the sprite at full strength; repaint says that target lost its
    // content; scratch (optional, screen-sized) serves the slide show's cross-fade.
    // In full-screen power save, jumps are shown with revealScene (needs backBuffer).
    void draw(HDC target, HDC backBuffer, bool fullRedraw, bool repaint, HDC scratch);
    // Copies the whole screen from backBuffer to target block by block, in the style
    // that the type's MotionWhilePowerSave selects.
    void revealScene(HDC target, HDC backBuffer);
    // Whether target is composed by the system (desktop composition): the compositor can
    // show a window's surface at any moment, so a frame whose whole view changes is then
    // made in backBuffer and reaches target as one copy, never in pieces.
    void setComposedTarget(bool composed) { composedTarget_ = composed; }
    // The pacer of the power-save reveals (null: a private one). A pacer with a stop event
    // lets the owner cut a reveal short when the saver closes.
    void setRevealPacer(FramePacer* pacer) { revealPacer_ = pacer; }

    bool fullScreen() const { return fullScreen_; }
    std::int32_t moveType() const { return motion_.moveType; }
    int screenWidth() const { return motion_.screenWidth; }
    int screenHeight() const { return motion_.screenHeight; }
    std::int32_t phase() const { return motion_.phase; }
    std::int32_t viewX() const { return motion_.viewX; }
    std::int32_t viewY() const { return motion_.viewY; }
    std::int32_t waypointIndex() const { return motion_.waypointIndex; }

    // The whole numeric state, for inspection.
    const SceneMotion& motion() const { return motion_; }
    std::int32_t motionWhilePowerSave() const { return motionWhilePowerSave_; }
    // Where the sprite lies on the screen, (left, top, right, bottom).
    RECT spriteRect() const;

  private:
    // Whether the setup's numbers can work; its pictures are checked as they are taken.
    static bool usable(const SceneSetup& setup);
    HBITMAP backgroundBitmap() const { return stripCopy_ ? stripCopy_.get() : background_.get(); }
    void drawSlideShow(HDC target, HDC backBuffer, bool fullRedraw, bool repaint, HDC scratch);
    void drawTiled(HDC target, HDC backBuffer, bool fullRedraw, bool repaint);
    void drawSpriteRect(HDC target, HDC backBuffer, int alpha);
    void tile(HDC dc, const RECT& rect) const;
    void composeSpriteOnto(HDC dc, int alpha) const;
    // Where the point (x, y) of frame `frame` of the slide show lies in background_.
    POINT framePoint(int frame, int x, int y) const;
    void crossFade(HDC out, const RECT& area, int frame, int weight, HDC scratch) const;
    void drawFrames(HDC out, const RECT& area, int frame, int next, int weight, HDC scratch) const;
    bool drawInBands(HDC target, int frame, int next, int weight, int alpha) const;

    bool fullScreen_;
    bool composedTarget_ = false;
    std::int32_t motionWhilePowerSave_ = 1;
    // The pixels of the slide show's strip when it is a top-down 32-bit picture of its own,
    // which its cross-fade works on directly; empty otherwise. Set while background_ is made.
    PixelView strip_;
    // The height of a frame when the strip's copy has its frames one below the other
    // (frame k's rows are read one after another, not a strip's width apart); 0 when
    // background_ is the catalogue's picture, frames side by side. Set with strip_.
    std::int32_t stripFrameHeight_ = 0;
    // A few screen rows in memory, where the slide show's frames are made band by band on
    // their way to the window (with strip_ only).
    std::unique_ptr<OffscreenSurface> band_;
    PixelView bandPixels_;
    // Declared so that the background is selected out of its context first, then the
    // context goes, then the sprite, then the background.
    TopDownBitmap stripCopy_; // the slide show's strip as a picture of our own, if made
    BitmapHandle background_; // the catalogue's picture, unless stripCopy_ replaced it
    BitmapHandle sprite_;
    MemoryDC backgroundDC_;
    SelectedObject backgroundSelection_;
    SpriteComposer spriteComposer_; // holds the sprite selected, with its masks
    std::int32_t spriteWidth_ = 0;
    std::int32_t spriteHeight_ = 0;
    std::int32_t spriteX_ = 0;
    std::int32_t spriteY_ = 0;
    SceneFault fault_ = SceneFault::Setup; // None once construction has completed
    FramePacer* revealPacer_ = nullptr;    // null: revealBlocks paces with its own
    SceneMotion motion_;
};
