#pragma once
#include "platform/gdi_handles.h"
#include "scene/picture_parameters.h"

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
};
