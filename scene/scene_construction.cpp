#include "raster/bitmap_size.h"
#include "raster/dib_section.h"
#include "scene/reference_scaling.h"
#include "scene/scene.h"

#include <algorithm>
#include <climits>

namespace {

// The size of a band of the slide show's frame: one that stays in the processor's cache
// between its making and its copy to the window.
constexpr int kBandBytes = 256 * 1024;

// The slide show's strip copied into a 32-bit top-down picture in memory with its whole
// frames one below the other, so that its cross-fades can be computed there (pixels gives
// them) and read each frame's rows one after another, which memory serves much faster
// than rows a strip's width apart. frameHeight is set to the strip's height then. Null
// when no copy can be made: the original is drawn through GDI then.
TopDownBitmap asSlideStrip(const BitmapHandle& picture, std::int32_t moveType, int frameWidth,
                           HDC dc, PixelView& pixels, std::int32_t& frameHeight) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (moveType != MoveSlideShow || frameWidth <= 0 || !bitmapSize(picture.get(), width, height) ||
        width < frameWidth)
        return {};
    const int frames = width / frameWidth;
    if (height > INT_MAX / frames)
        return {};
    MemoryDC sourceDC(dc);
    SelectedObject source(sourceDC.get(), picture.get());
    if (!source)
        return {};
    TopDownBitmap strip = makeDibSection(frameWidth, frames * height);
    MemoryDC stripDC(dc);
    SelectedObject selection(stripDC.get(), strip.get());
    if (!selection)
        return {};
    for (int frame = 0; frame < frames; ++frame)
        if (!BitBlt(stripDC.get(), 0, frame * height, frameWidth, height, sourceDC.get(),
                    frame * frameWidth, 0, SRCCOPY))
            return {};
    // The bits stay where they are when the strip moves to the Scene's own context.
    PixelView view = topDownPixelsOf(stripDC.get());
    if (!view)
        return {};
    pixels = view;
    frameHeight = height;
    return strip;
}

void applyTypeSettings(SceneMotion& m, const PictureParameters& p, const ResumeValues& resume) {
    m.motionParamX = p.motionParamX;
    m.motionParamY = p.motionParamY;
    m.keepInside = p.keepInside;
    switch (m.moveType) {
    case MoveSlideShow:
        // A negative phase would address frames before the strip.
        m.phase = std::max(resume.value1 / kPhaseStep * kPhaseStep, 0);
        m.holdFrames = kStartHoldFrames;
        m.viewX = m.viewY = 0;
        break;
    case MoveDrift:
    case MoveRandomHop:
    case MoveClock:
        m.viewX = resume.value1;
        m.viewY = resume.value2;
        m.stepCount = m.moveType == MoveClock ? 0 : kCycleStartStep;
        break;
    case MoveWaypoints:
        m.waypointCount = std::clamp(p.waypointCount, 1, kMaxWaypoints);
        std::copy(p.waypoints, p.waypoints + m.waypointCount, m.waypoints);
        if (resume.any()) {
            m.viewX = resume.value1;
            m.viewY = resume.value2;
            m.waypointIndex = resume.value3;
        } else {
            m.viewX = m.waypoints[0].x;
            m.viewY = m.waypoints[0].y;
            m.waypointIndex = 1;
        }
        if (m.waypointIndex < 0 || m.waypointIndex >= m.waypointCount)
            m.waypointIndex = 0;
        m.stepCount = kCycleStartStep;
        break;
    default:
        break;
    }
}

// A negative position centres the sprite and is never scaled. A position beyond the
// screen's edge draws exactly as one on the edge; keeping it there keeps the bands'
// arithmetic far from overflow.
std::int32_t placeSprite(std::int32_t position, std::int32_t spriteSize, std::int32_t screenSize,
                         bool scaled, std::int32_t reference) {
    if (position < 0)
        return (screenSize - spriteSize) / 2;
    if (scaled)
        position = scaleFromReference(position, screenSize, reference);
    return std::min(position, screenSize);
}

} // namespace

bool Scene::usable(const SceneSetup& setup) {
    return setup.screenWidth > 0 && setup.screenHeight > 0 && setup.typeRead &&
           setup.moveType >= MoveSlideShow && setup.moveType <= MoveWaypoints &&
           parametersCanMove(setup.moveType, setup.parameters);
}

Scene::Scene(SceneSetup setup, HDC dc)
    : fullScreen_(setup.fullScreen), motionWhilePowerSave_(setup.motionWhilePowerSave),
      stripCopy_(asSlideStrip(setup.background, setup.moveType, setup.screenWidth, dc, strip_,
                              stripFrameHeight_)),
      // The copy replaces the original, which is let go at once.
      background_(stripCopy_ ? BitmapHandle() : std::move(setup.background)),
      sprite_(std::move(setup.sprite)),
      backgroundDC_(usable(setup) && backgroundBitmap() && sprite_ ? MemoryDC(dc) : MemoryDC()),
      backgroundSelection_(backgroundDC_.get(), backgroundBitmap()),
      spriteComposer_(dc, backgroundDC_ ? sprite_.get() : nullptr, kSpriteKeyColour) {
    SceneMotion& m = motion_;
    m.screenWidth = setup.screenWidth;
    m.screenHeight = setup.screenHeight;
    if (!usable(setup) || !backgroundBitmap() || !sprite_)
        return; // fault_ stays Setup
    fault_ = SceneFault::NoDrawingContext;
    if (!backgroundDC_ || !backgroundSelection_ || !spriteComposer_)
        return;
    m.moveType = setup.moveType;
    m.skipIfReqFixedPos = setup.skipIfReqFixedPos;
    fault_ = SceneFault::UnreadablePicture;
    if (!bitmapSize(backgroundBitmap(), m.backgroundWidth, m.backgroundHeight) ||
        !bitmapSize(sprite_.get(), spriteWidth_, spriteHeight_))
        return;
    if (stripFrameHeight_) { // the motion counts frames side by side, as the catalogue has them
        m.backgroundWidth = m.backgroundHeight / stripFrameHeight_ * m.screenWidth;
        m.backgroundHeight = stripFrameHeight_;
    }
    // The strip needs at least one screen-wide frame.
    fault_ = SceneFault::StripNarrowerThanScreen;
    if (m.moveType == MoveSlideShow && m.backgroundWidth < m.screenWidth)
        return;

    applyTypeSettings(m, setup.parameters, setup.resume);
    m.spriteAlpha = 255;
    m.drawnAlpha = 254;
    m.fadeRising = false;
    spriteX_ = placeSprite(setup.parameters.spriteX, spriteWidth_, m.screenWidth,
                           setup.scaledFromReference, kReferenceWidth);
    spriteY_ = placeSprite(setup.parameters.spriteY, spriteHeight_, m.screenHeight,
                           setup.scaledFromReference, kReferenceHeight);

    m.wrapRect = {0, 0, m.backgroundWidth, m.backgroundHeight};
    wrapView(m);
    if (m.moveType == MoveSlideShow && static_cast<std::int64_t>(m.phase) >=
                                           static_cast<std::int64_t>(slideFrames(m)) * kFrameLength)
        m.phase = 0; // stored for a longer strip
    m.drawnPhase = m.phase + 1;
    // Like drawnPhase and drawnAlpha: whatever draws first counts as a change.
    m.drawnViewX = m.viewX + 1;
    m.drawnViewY = m.viewY;
    if (strip_ && m.backgroundHeight >= m.screenHeight) {
        const int rows = std::clamp(kBandBytes / (m.screenWidth * 4), 1, m.screenHeight);
        auto band = std::make_unique<OffscreenSurface>(dc, m.screenWidth, rows);
        if (*band) {
            bandPixels_ = topDownPixelsOf(band->dc());
            band_ = std::move(band);
        }
    }
    fault_ = SceneFault::None;
}

RECT Scene::spriteRect() const {
    return {spriteX_, spriteY_, spriteX_ + spriteWidth_, spriteY_ + spriteHeight_};
}

void Scene::setPowerSave(bool flag) {
    motion_.powerSave = flag;
}

void Scene::advance() {
    if (!isBroken())
        advanceMotion(motion_);
}

void Scene::finishMotion() {
    if (!isBroken())
        ::finishMotion(motion_);
}
