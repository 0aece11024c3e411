#pragma once
#include "platform/gdi_handles.h"
#include "raster/picture_file.h"
#include "scene/picture_parameters.h"
#include "settings/catalogue.h"

#include <cstdint>

// The stored position that a full-screen Scene resumes from ("lBuildWpValue1..3"), all 0
// when it starts afresh: the phase (slide show), or the view origin, and for waypoints the
// index of the next one.
struct ResumeValues {
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::int32_t value3 = 0;
    bool any() const { return value1 != 0 || value2 != 0 || value3 != 0; }
};

// Why a setup lacks what its Scene needs: the first step that failed. The saver needs only
// the missing parts; the catalogue checker tells authors the reason.
enum class SetupFault {
    None,
    NoScreen,   // a screen size without pixels
    TypeAbsent, // see lookup
    UnknownMoveType,
    FileNameTooLong,   // see parameters.cutField
    EqualHopDistances, // a random hop's shortest and longest hop are the same
    PictureUnloaded,   // see backgroundLoad and spriteLoad (both are attempted)
    PictureUnscaled,   // see backgroundScale and spriteScale
};

// How a picture's stretch from 1024 x 768 to the screen went.
struct PictureScale {
    enum Outcome { NotNeeded, Done, ToNothing, BeyondBound, Failed } outcome = NotNeeded;
    std::int32_t width = 0; // the size asked for
    std::int32_t height = 0;
};

// Everything a Scene is built from: the type's settings as read, where it resumes, and
// its two pictures, decoded and (for the 1024 x 768 entry) scaled to the screen. A plain
// record: loadSceneSetup gathers it from the catalogue, the preference store and the
// picture files; tests make one in memory.
struct SceneSetup {
    bool fullScreen = false;
    int screenWidth = 0;
    int screenHeight = 0;
    // The type was found and its file entry parsed; without it the Scene is broken.
    bool typeRead = false;
    std::int32_t moveType = 0;
    std::int32_t motionWhilePowerSave = 1;
    bool skipIfReqFixedPos = true;
    bool scaledFromReference = false; // positions are for 1024 x 768 and still to be scaled
    PictureParameters parameters = {};
    ResumeValues resume;
    BitmapHandle background;
    BitmapHandle sprite;

    // What went wrong, when something did.
    SetupFault fault = SetupFault::None;
    TypeLookup lookup = TypeLookup::Found;
    char resourceFolder[kPathCapacity] = "";
    PictureLoadReport backgroundLoad;
    PictureLoadReport spriteLoad;
    PictureScale backgroundScale;
    PictureScale spriteScale;
};
