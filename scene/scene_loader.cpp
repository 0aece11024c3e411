#include "scene/scene_loader.h"
#include "platform/kernel_handles.h"
#include "raster/picture_bounds.h"
#include "raster/picture_file.h"
#include "resources/resource_ids.h"
#include "scene/reference_scaling.h"
#include "settings/catalogue.h"
#include "settings/preferences.h"
#include "settings/text_buffer.h"
#include "settings/wallpaper_decision.h"

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

namespace {

// A load that the saver no longer needs (a close, a new layout) ends at its next picture.
bool stopped(HANDLE stopEvent) {
    return stopEvent && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
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

// folder + "\" + name, decoded; null when the path does not fit or the file is no picture.
HBITMAP loadPicture(const char* folder, const char* name, PictureLoadReport& report) {
    char path[kPathCapacity] = "";
    if (!copyText(path, sizeof path, folder) || !appendText(path, sizeof path, "\\") ||
        !appendText(path, sizeof path, name)) {
        report = {};
        report.failure = PictureFailure::CannotOpen;
        report.systemError = ERROR_FILENAME_EXCED_RANGE;
        return nullptr;
    }
    return loadPictureFile(path, &report);
}

// The bitmap stretched from 1024 x 768 to the screen; empty when it would have no pixels
// (nor could it be tiled: remainders by 0), when it would be larger than any picture the
// saver takes, or when its memory cannot be had.
void scaleToScreen(HDC dc, BitmapHandle& bitmap, int screenWidth, int screenHeight, int stretchMode,
                   PictureScale& scale) {
    BITMAP description = {};
    if (!GetObjectA(bitmap.get(), sizeof description, &description)) {
        bitmap.reset();
        scale.outcome = PictureScale::Failed;
        return;
    }
    scale.width = scaleFromReference(description.bmWidth, screenWidth, kReferenceWidth);
    scale.height = scaleFromReference(description.bmHeight, screenHeight, kReferenceHeight);
    if (scale.width <= 0 || scale.height <= 0)
        scale.outcome = PictureScale::ToNothing;
    else if (!pictureSizeAllowed(scale.width, scale.height))
        scale.outcome = PictureScale::BeyondBound;
    else
        scale.outcome = PictureScale::Done;
    bitmap.reset(scale.outcome == PictureScale::Done
                     ? stretchBitmap(dc, bitmap.get(), scale.width, scale.height, stretchMode)
                     : nullptr);
    if (scale.outcome == PictureScale::Done && !bitmap)
        scale.outcome = PictureScale::Failed;
}

} // namespace

SceneSetup loadSceneSetup(int typeNumber, HDC dc, int screenWidth, int screenHeight,
                          bool fullScreen, bool mayResume, const ResumeValues* ownResume,
                          const char* cataloguePath, HANDLE stopEvent) {
    SceneSetup setup;
    setup.fullScreen = fullScreen;
    setup.screenWidth = screenWidth;
    setup.screenHeight = screenHeight;
    // Frames of the strip and the reveal's blocks are fractions of the screen.
    if (screenWidth <= 0 || screenHeight <= 0) {
        setup.fault = SetupFault::NoScreen;
        return setup;
    }

    TypeSettings settings{};
    setup.lookup = lookUpTypeSettings(typeNumber, screenWidth, screenHeight, TypePartsAll, settings,
                                      cataloguePath);
    copyText(setup.resourceFolder, sizeof setup.resourceFolder, settings.resourceFolder);
    if (setup.lookup != TypeLookup::Found) {
        setup.fault = SetupFault::TypeAbsent;
        return setup;
    }
    if (settings.moveType < MoveSlideShow || settings.moveType > MoveWaypoints) {
        setup.fault = SetupFault::UnknownMoveType;
        setup.moveType = settings.moveType;
        return setup;
    }
    setup.moveType = settings.moveType;
    setup.motionWhilePowerSave = settings.motionWhilePowerSave;
    setup.skipIfReqFixedPos = settings.skipIfReqFixedPos;
    setup.scaledFromReference = settings.scaledFromReference;

    if (ownResume) {
        if (fullScreen && mayResume && shouldBuildWallpaper())
            setup.resume = *ownResume;
    } else {
        setup.resume = readResumeValues(fullScreen && mayResume, screenWidth, screenHeight);
    }

    if (!parsePictureParameters(settings.fileSpec, settings.moveType, settings.scaledFromReference,
                                screenWidth, screenHeight, setup.parameters)) {
        setup.fault = SetupFault::FileNameTooLong;
        return setup;
    }
    if (!parametersCanMove(settings.moveType, setup.parameters)) {
        setup.fault = SetupFault::EqualHopDistances;
        return setup;
    }
    setup.typeRead = true;

    {
        // The decoder needs COM on this thread; it is left as it was found.
        ComInitialization com(COINIT_MULTITHREADED);
        // Both are attempted even when the first fails.
        if (!stopped(stopEvent))
            setup.background.reset(loadPicture(
                settings.resourceFolder, setup.parameters.backgroundFile, setup.backgroundLoad));
        if (!stopped(stopEvent))
            setup.sprite.reset(loadPicture(settings.resourceFolder, setup.parameters.spriteFile,
                                           setup.spriteLoad));
    }
    if (!setup.background || !setup.sprite || stopped(stopEvent)) {
        setup.fault = SetupFault::PictureUnloaded;
        return setup;
    }
    if (setup.scaledFromReference) {
        // HALFTONE smooths the background; COLORONCOLOR keeps the sprite's colour key exact.
        scaleToScreen(dc, setup.background, screenWidth, screenHeight, HALFTONE,
                      setup.backgroundScale);
        if (stopped(stopEvent))
            setup.background.reset();
        if (setup.background)
            scaleToScreen(dc, setup.sprite, screenWidth, screenHeight, COLORONCOLOR,
                          setup.spriteScale);
        if (!setup.background || !setup.sprite)
            setup.fault = SetupFault::PictureUnscaled;
    }
    return setup;
}
