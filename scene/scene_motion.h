#pragma once
#include <windows.h>
#include <cstdint>

// How a picture type's background moves (the catalogue's MoveType).
enum MoveType : std::int32_t {
    MoveSlideShow = 0,
    MoveDrift = 1,
    MoveRandomHop = 2,
    MoveClock = 3,
    MoveWaypoints = 4,
};

// The picture's timing and its fixed numbers, named once.

// One frame every 80 ms: 12.5 frames per second, fade steps included.
inline constexpr DWORD kFramePeriodMs = 80;
// The sprite's transparent colour: magenta, which must stay exact through scaling.
inline constexpr COLORREF kSpriteKeyColour = RGB(255, 0, 255);

// Slide show: one frame of the strip in phase units; a cross-fade adds kPhaseStep per
// frame (64 frames), and the strip holds between cross-fades: at the start, after each
// boundary, and after each boundary in power save.
inline constexpr std::int32_t kFrameLength = 256;
inline constexpr std::int32_t kPhaseStep = 4;
inline constexpr std::int32_t kStartHoldFrames = 30;
inline constexpr std::int32_t kHoldFrames = 40;
inline constexpr std::int32_t kPowerSaveHoldFrames = 60;

// Glides take kGlideSteps eased steps. Random hops and waypoints run in cycles of
// kHopCycleFrames: the glide, then the sprite fading in, shown and fading out; a new Scene
// enters the cycle at kCycleStartStep, with the sprite shown in full.
inline constexpr int kGlideSteps = 22;
inline constexpr int kHopCycleFrames = 80;
inline constexpr std::int32_t kCycleStartStep = 41;

inline constexpr int kMaxWaypoints = 100;

// Per-mille weights of a glide, an S-shaped ease in and out (entry i and 20 - i add up
// to 1000).
inline constexpr std::int32_t glideTable[kGlideSteps] = {1,   3,   7,   18,  39,  72,  119, 183,
                                                         266, 371, 500, 629, 734, 817, 881, 928,
                                                         961, 982, 993, 997, 999, 1000};

// The Scene's numeric state: what the motion changes each frame and what the drawing
// last put on the screen. A plain record so that motion can be stepped on its own.
struct SceneMotion {
    std::int32_t moveType = 0;
    bool powerSave = false;
    bool powerSaveLatched = false; // powerSave as taken at the motion's decision points
    bool skipIfReqFixedPos = true;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int32_t backgroundWidth = 0;
    std::int32_t backgroundHeight = 0;
    std::int32_t spriteAlpha = 255;
    std::int32_t drawnAlpha = 254; // differs from spriteAlpha: the first drawing is a change
    bool fadeRising = false;
    std::int32_t holdFrames = kStartHoldFrames;
    std::int32_t phase = 0; // MoveSlideShow: position in the strip in 1/256 of a frame
    std::int32_t drawnPhase = 1;
    // A phase that the power save's block reveal is not to show: the frame that a
    // cross-fade has just completed when power save sets in. It is drawn as usual.
    std::int32_t unrevealedPhase = -1;
    std::int32_t viewX = 0;
    std::int32_t viewY = 0;
    std::int32_t drawnViewX = 0;
    std::int32_t drawnViewY = 0;
    RECT wrapRect = {};
    std::int32_t motionParamX = 0; // drift velocity, or minimum hop
    std::int32_t motionParamY = 0; // drift velocity, or maximum hop
    std::int32_t stepCount = 0;
    std::int32_t glideFromX = 0;
    std::int32_t glideFromY = 0;
    std::int32_t glideToX = 0;
    std::int32_t glideToY = 0;
    bool keepInside = false;
    std::int32_t waypointIndex = 1;
    std::int32_t waypointCount = 1;
    POINT waypoints[kMaxWaypoints] = {};
};

// Frames of the slide-show strip: backgroundWidth / screenWidth (at least 1 for a Scene
// that was built).
std::int32_t slideFrames(const SceneMotion& motion);

// Brings the view origin into wrapRect (mathematical remainder, so any start value
// lands inside).
void wrapView(SceneMotion& motion);

using LocalTimeSource = void(WINAPI*)(LPSYSTEMTIME);

// One motion step of the move type; random hops draw from the calling thread's rand(),
// the clock reads the time from localTime.
void advanceMotion(SceneMotion& motion, LocalTimeSource localTime = &GetLocalTime);

// Completes a cross-fade or glide under way (when skipIfReqFixedPos is set).
void finishMotion(SceneMotion& motion);

// The clock's view x for a time of day: midnight is 0, noon the middle of the width.
std::int32_t clockTargetX(std::int32_t backgroundWidth, const SYSTEMTIME& time);
