#include "scene.h"
#include "catalogue.h"
#include "kernel_handles.h"
#include "picture_file.h"
#include "picture_parameters.h"
#include "preferences.h"
#include "reference_scaling.h"
#include "resource_ids.h"
#include "text_buffer.h"
#include "wallpaper_decision.h"

#include <algorithm>

namespace {

struct ResumeValues {
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::int32_t value3 = 0;
    bool any() const { return value1 != 0 || value2 != 0 || value3 != 0; }
};

// The preview shows the placeholder stretched to the window while the pictures load.
void showPreviewPlaceholder(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    BitmapHandle placeholder(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PREVIEW_PLACEHOLDER),
                   IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR)));
    if (!placeholder)
        return;
    MemoryDC memory(dc);
    SelectedObject selection(memory.get(), placeholder.get());
    BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

// Only a full-screen run whose last frame would become the wallpaper resumes, and only
// from values stored for this screen size.
ResumeValues readResumeValues(bool fullScreen, int width, int height) {
    ResumeValues values;
    if (!fullScreen || !shouldBuildWallpaper())
        return values;
    if (readPreference(kResumeResolutionValue) != resumeResolution(width, height))
        return values;
    values.value1 = static_cast<std::int32_t>(readPreference(kResumeValue1));
    values.value2 = static_cast<std::int32_t>(readPreference(kResumeValue2));
    values.value3 = static_cast<std::int32_t>(readPreference(kResumeValue3));
    return values;
}

void applyTypeSettings(SceneMotion& m, const PictureParameters& p, const ResumeValues& resume) {
    m.motionParamX = p.motionParamX;
    m.motionParamY = p.motionParamY;
    m.keepInside = p.keepInside;
    switch (m.moveType) {
    case MoveSlideShow:
        // A negative phase would address frames before the strip.
        m.phase = std::max(resume.value1 / 4 * 4, 0);
        m.holdFrames = 30;
        m.viewX = m.viewY = 0;
        break;
    case MoveDrift:
    case MoveRandomHop:
    case MoveClock:
        m.viewX = resume.value1;
        m.viewY = resume.value2;
        m.stepCount = m.moveType == MoveClock ? 0 : 41;
        break;
    case MoveWaypoints:
        m.waypointCount = p.waypointCount;
        std::copy(p.waypoints, p.waypoints + p.waypointCount, m.waypoints);
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
        m.stepCount = 41;
        break;
    default:
        break;
    }
}

// folder + "\" + name, refused when it does not fit.
bool formPicturePath(char (&path)[kPathCapacity], const char* folder, const char* name) {
    path[0] = '\0';
    return copyText(path, sizeof path, folder) && appendText(path, sizeof path, "\\") &&
           appendText(path, sizeof path, name);
}

HBITMAP loadPicture(const char* folder, const char* name) {
    char path[kPathCapacity];
    return formPicturePath(path, folder, name) ? loadPictureFile(path) : nullptr;
}

bool bitmapSize(HBITMAP bitmap, std::int32_t& width, std::int32_t& height) {
    BITMAP description = {};
    if (!GetObjectA(bitmap, sizeof description, &description))
        return false;
    width = description.bmWidth;
    height = description.bmHeight;
    return width > 0 && height > 0;
}

bool scaleBitmap(HDC dc, BitmapHandle& bitmap, int screenWidth, int screenHeight, int stretchMode) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (!bitmapSize(bitmap.get(), width, height))
        return false;
    width = scaleFromReference(width, screenWidth, kReferenceWidth);
    height = scaleFromReference(height, screenHeight, kReferenceHeight);
    // A picture that shrinks to nothing cannot be drawn (nor tiled: remainders by 0).
    if (width <= 0 || height <= 0)
        return false;
    HBITMAP scaled = stretchBitmap(dc, bitmap.get(), width, height, stretchMode);
    if (!scaled)
        return false;
    bitmap.reset(scaled);
    return true;
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

Scene::Scene(int typeNumber, HDC dc, int screenWidth, int screenHeight, bool fullScreen)
    : fullScreen_(fullScreen) {
    motion_.screenWidth = screenWidth;
    motion_.screenHeight = screenHeight;
    motion_.powerSave = motion_.powerSaveLatched = false;
    if (!fullScreen)
        showPreviewPlaceholder(dc, screenWidth, screenHeight);
    // Frames of the strip and the reveal's blocks are fractions of the screen.
    if (screenWidth <= 0 || screenHeight <= 0)
        return;

    TypeSettings settings{};
    if (!readTypeSettings(typeNumber, screenWidth, screenHeight, TypePartsAll, settings))
        return;
    if (settings.moveType < MoveSlideShow || settings.moveType > MoveWaypoints)
        return;
    motion_.moveType = settings.moveType;
    motionWhilePowerSave_ = settings.motionWhilePowerSave;
    motion_.skipIfReqFixedPos = settings.skipIfReqFixedPos;

    ResumeValues resume = readResumeValues(fullScreen, screenWidth, screenHeight);

    PictureParameters parameters;
    if (!parsePictureParameters(settings.fileSpec, settings.moveType, settings.scaledFromReference,
                                screenWidth, screenHeight, parameters))
        return;
    // The hop is a remainder by the difference of the two distances.
    if (motion_.moveType == MoveRandomHop && parameters.motionParamX == parameters.motionParamY)
        return;
    applyTypeSettings(motion_, parameters, resume);

    motion_.spriteAlpha = 255;
    motion_.drawnAlpha = 254;
    motion_.fadeRising = false;

    if (!loadPictures(settings.resourceFolder, parameters.backgroundFile, parameters.spriteFile))
        return;
    if (settings.scaledFromReference && !scaleToScreen(dc))
        return;

    backgroundDC_ = MemoryDC(dc);
    if (!backgroundDC_)
        return;
    previousObject_ = SelectObject(backgroundDC_.get(), background_.get());
    if (!previousObject_ || previousObject_ == HGDI_ERROR) {
        previousObject_ = nullptr;
        return;
    }
    if (!bitmapSize(background_.get(), motion_.backgroundWidth, motion_.backgroundHeight) ||
        !bitmapSize(sprite_.get(), spriteWidth_, spriteHeight_))
        return;
    // The strip needs at least one screen-wide frame.
    if (motion_.moveType == MoveSlideShow && motion_.backgroundWidth < screenWidth)
        return;

    spriteX_ = placeSprite(parameters.spriteX, spriteWidth_, screenWidth,
                           settings.scaledFromReference, kReferenceWidth);
    spriteY_ = placeSprite(parameters.spriteY, spriteHeight_, screenHeight,
                           settings.scaledFromReference, kReferenceHeight);

    motion_.wrapRect = {0, 0, motion_.backgroundWidth, motion_.backgroundHeight};
    wrapView(motion_);
    if (motion_.moveType == MoveSlideShow &&
        static_cast<std::int64_t>(motion_.phase) >=
            static_cast<std::int64_t>(slideFrames(motion_)) * 256)
        motion_.phase = 0; // stored for a longer strip
    motion_.drawnPhase = motion_.phase + 1;
    // Like drawnPhase and drawnAlpha: whatever draws first counts as a change.
    motion_.drawnViewX = motion_.viewX + 1;
    motion_.drawnViewY = motion_.viewY;
    complete_ = true;
}

Scene::~Scene() {
    if (backgroundDC_ && previousObject_)
        SelectObject(backgroundDC_.get(), previousObject_);
    // The members then delete the context, the sprite and the background, in that order.
}

bool Scene::loadPictures(const char* folder, const char* backgroundFile, const char* spriteFile) {
    // The decoder needs COM on this thread; it is left as it was found.
    ComInitialization com(COINIT_MULTITHREADED);
    // Both are attempted even when the first fails.
    background_.reset(loadPicture(folder, backgroundFile));
    sprite_.reset(loadPicture(folder, spriteFile));
    return background_ && sprite_;
}

bool Scene::scaleToScreen(HDC dc) {
    // HALFTONE smooths the background; COLORONCOLOR keeps the sprite's colour key exact.
    return scaleBitmap(dc, background_, motion_.screenWidth, motion_.screenHeight, HALFTONE) &&
           scaleBitmap(dc, sprite_, motion_.screenWidth, motion_.screenHeight, COLORONCOLOR);
}

bool Scene::isBroken() const {
    return !complete_;
}

RECT Scene::spriteRect() const {
    return {spriteX_, spriteY_, spriteX_ + spriteWidth_, spriteY_ + spriteHeight_};
}

void Scene::setPowerSave(bool flag) {
    motion_.powerSave = flag;
}

void Scene::advance() {
    if (complete_)
        advanceMotion(motion_);
}

void Scene::finishMotion() {
    if (complete_)
        ::finishMotion(motion_);
}
