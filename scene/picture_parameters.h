#pragma once
#include "scene/scene_motion.h"
#include "settings/text_buffer.h"

#include <windows.h>
#include <cstdint>
#include <span>

// What each field of a type's picture parameter string (its file entry) is, by move type.
enum class PictureField {
    Wallpaper, // the type's own wallpaper picture: read by the wallpaper decision only
    Background,
    Sprite,
    SpriteX, // negative centres the sprite
    SpriteY,
    MotionX,    // drift: x velocity; random hop: shortest hop
    MotionY,    // drift: y velocity; random hop: longest hop
    KeepInside, // random hop: non-zero keeps the whole screen inside the background
    Waypoints,  // waypoints: the rest, x,y pairs
};

// The fields of moveType's entry in order (Waypoints, when there, takes all the rest);
// empty for a move type the saver does not know.
std::span<const PictureField> pictureFieldLayout(std::int32_t moveType);

// What a type's picture parameter string (its file entry) says, field by field for its
// move type. Sprite positions are as written; velocities, hop distances and waypoints are
// already scaled when the entry is the 1024 x 768 fallback.
struct PictureParameters {
    char backgroundFile[kPathCapacity];
    char spriteFile[kPathCapacity];
    std::int32_t spriteX;
    std::int32_t spriteY;
    std::int32_t motionParamX;
    std::int32_t motionParamY;
    bool keepInside;
    std::int32_t waypointCount; // 1..100: no waypoint fields give one at (0, 0)
    POINT waypoints[kMaxWaypoints];
    // What the parse passed over, for the catalogue checker: the field (from 1) of a file
    // name too long for its buffer, 0 for none; whether a last x came without its y; how
    // many fields with text in them came after the last one read.
    int cutField;
    bool waypointXWithoutY;
    int unreadFields;
};

// Whether the motion can run on these parameters: a random hop takes a remainder by the
// difference of its two distances, which must not be 0.
bool parametersCanMove(std::int32_t moveType, const PictureParameters& parameters);

// Splits fileSpec for moveType (0..4). False when a file name does not fit its buffer or
// the move type is unknown.
bool parsePictureParameters(const char* fileSpec, std::int32_t moveType, bool scaledFromReference,
                            std::int32_t screenWidth, std::int32_t screenHeight,
                            PictureParameters& parameters);
