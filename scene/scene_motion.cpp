#include "scene/scene_motion.h"
#include "scene/scene.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kHopTries = 20;
constexpr std::int32_t kSecondsPerDay = 86400;

std::int32_t saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// low + ((value - low) mod (high - low)) with the mathematical remainder; wide enough
// that no start value (a restored one, a view plus a large velocity) can overflow.
std::int32_t wrapCoordinate(std::int64_t value, LONG low, LONG high) {
    std::int64_t span = static_cast<std::int64_t>(high) - low;
    if (span <= 0)
        return low;
    std::int64_t remainder = (value - low) % span;
    if (remainder < 0)
        remainder += span;
    return static_cast<std::int32_t>(low + remainder);
}

void setView(SceneMotion& m, std::int64_t x, std::int64_t y) {
    m.viewX = wrapCoordinate(x, m.wrapRect.left, m.wrapRect.right);
    m.viewY = wrapCoordinate(y, m.wrapRect.top, m.wrapRect.bottom);
}

// 255, 245, ..., 95, 105, ..., 255: a 32-frame cycle.
void pulseSprite(SceneMotion& m) {
    if (m.fadeRising) {
        m.spriteAlpha += 10;
        if (m.spriteAlpha >= 255) {
            m.spriteAlpha = 255;
            m.fadeRising = false;
        }
    } else {
        m.spriteAlpha -= 10;
        if (m.spriteAlpha < 100)
            m.fadeRising = true;
    }
}

void toggleSprite(SceneMotion& m) {
    m.spriteAlpha = m.fadeRising ? 255 : 0;
    m.fadeRising = !m.fadeRising;
}

// A straight line from the glide's start to its target; only the result is wrapped.
void glideStep(SceneMotion& m, int n) {
    std::int64_t weight = glideTable[n];
    std::int64_t x =
        m.glideFromX + (static_cast<std::int64_t>(m.glideToX) - m.glideFromX) * weight / 1000;
    std::int64_t y =
        m.glideFromY + (static_cast<std::int64_t>(m.glideToY) - m.glideFromY) * weight / 1000;
    setView(m, x, y);
}

// Hidden while gliding, fading in, shown, fading out; toggled once per cycle in power save.
void cycleSpriteAlpha(SceneMotion& m) {
    std::int32_t k = m.stepCount;
    if (m.powerSaveLatched) {
        if (k == kGlideSteps)
            toggleSprite(m);
        return;
    }
    if (k < kGlideSteps)
        m.spriteAlpha = 0;
    else if (k <= 40)
        m.spriteAlpha = (k - 22) * 765 / 58;
    else if (k <= 59)
        m.spriteAlpha = 255;
    else
        m.spriteAlpha = 255 - (k - 60) * 255 / 20;
}

void nextCycleStep(SceneMotion& m) {
    if (++m.stepCount >= kHopCycleFrames)
        m.stepCount = 0;
}

std::int64_t stripLength(const SceneMotion& m) {
    return static_cast<std::int64_t>(slideFrames(m)) * kFrameLength;
}

void advanceSlideShow(SceneMotion& m) {
    bool boundary = false;
    if (m.holdFrames != 0) {
        --m.holdFrames;
    } else {
        bool oldLatched = m.powerSaveLatched;
        // The exception covers the one frame that completed as power save began, once.
        m.unrevealedPhase = -1;
        // In power save a whole frame is skipped at once.
        m.phase += oldLatched ? kFrameLength : kPhaseStep;
        if (m.phase >= stripLength(m))
            m.phase = 0;
        if (m.phase % kFrameLength == 0) {
            // The cross-fade just completed this frame: it is drawn, not revealed.
            if (!oldLatched && m.powerSave)
                m.unrevealedPhase = m.phase;
            m.powerSaveLatched = m.powerSave;
            boundary = true;
            m.holdFrames = m.powerSave ? kPowerSaveHoldFrames : kHoldFrames;
        }
    }
    if (!m.powerSaveLatched)
        pulseSprite(m);
    else if (m.phase % kFrameLength == 0 && boundary)
        toggleSprite(m);
}

void advanceDrift(SceneMotion& m) {
    m.powerSaveLatched = m.powerSave;
    if (m.powerSaveLatched) {
        m.fadeRising = false;
        m.spriteAlpha = 255;
        return;
    }
    setView(m, static_cast<std::int64_t>(m.viewX) + m.motionParamX,
            static_cast<std::int64_t>(m.viewY) + m.motionParamY);
    pulseSprite(m);
}

void chooseHopTarget(SceneMotion& m) {
    // Construction refuses equal hop limits, so the span is never 0.
    std::int64_t span = static_cast<std::int64_t>(m.motionParamY) - m.motionParamX;
    if (span == 0)
        span = 1;
    std::int64_t width = m.screenWidth;
    std::int64_t height = m.screenHeight;
    for (int attempt = 0; attempt < kHopTries; ++attempt) {
        std::int64_t dx = m.motionParamX + std::rand() % span;
        std::int64_t dy = m.motionParamX + std::rand() % span;
        if (std::rand() & 1)
            dx = -dx;
        if (std::rand() & 1)
            dy = -dy;
        m.glideToX = saturate(m.viewX + dx);
        m.glideToY = saturate(m.viewY + dy);
        if (!m.keepInside ||
            (m.glideToX >= 0 && m.glideToY >= 0 && m.glideToX + width <= m.backgroundWidth &&
             m.glideToY + height <= m.backgroundHeight))
            return;
    }
    if (m.glideToX + width > m.backgroundWidth)
        m.glideToX = m.backgroundWidth - m.screenWidth;
    if (m.glideToY + height > m.backgroundHeight)
        m.glideToY = m.backgroundHeight - m.screenHeight;
    m.glideToX = std::max(m.glideToX, 0);
    m.glideToY = std::max(m.glideToY, 0);
}

void advanceRandomHop(SceneMotion& m) {
    if (m.stepCount == 0) {
        m.glideFromX = m.viewX;
        m.glideFromY = m.viewY;
        m.powerSaveLatched = m.powerSave;
        chooseHopTarget(m);
        // Power save skips the glide: this same call lands on the target.
        if (m.powerSaveLatched)
            m.stepCount = kGlideSteps - 1;
    }
    if (m.stepCount >= 0 && m.stepCount < kGlideSteps)
        glideStep(m, m.stepCount);
    nextCycleStep(m);
    cycleSpriteAlpha(m);
}

void advanceClock(SceneMotion& m, LocalTimeSource localTime) {
    m.powerSaveLatched = m.powerSave;
    if (m.stepCount == 0) {
        m.glideFromX = m.viewX;
        m.glideFromY = m.viewY;
        SYSTEMTIME now = {};
        localTime(&now);
        m.glideToX = clockTargetX(m.backgroundWidth, now);
        m.glideToY = m.viewY;
    }
    if (m.stepCount >= kGlideSteps || m.stepCount < 0 ||
        (m.viewX == m.glideToX && m.viewY == m.glideToY)) {
        m.stepCount = 0;
    } else {
        glideStep(m, m.stepCount);
        ++m.stepCount;
    }
    if (!m.powerSaveLatched)
        pulseSprite(m);
    else if (m.stepCount == 0)
        toggleSprite(m);
}

void advanceWaypoints(SceneMotion& m) {
    if (m.waypointIndex < 0 || m.waypointIndex >= m.waypointCount)
        m.waypointIndex = 0;
    if (m.stepCount == 0) {
        m.glideFromX = m.viewX;
        m.glideFromY = m.viewY;
        m.powerSaveLatched = m.powerSave;
        m.glideToX = m.waypoints[m.waypointIndex].x;
        m.glideToY = m.waypoints[m.waypointIndex].y;
        if (m.powerSaveLatched)
            m.stepCount = kGlideSteps - 1;
    }
    if (m.stepCount >= 0 && m.stepCount < kGlideSteps) {
        glideStep(m, m.stepCount);
    } else if (m.stepCount == kGlideSteps) {
        if (++m.waypointIndex >= m.waypointCount)
            m.waypointIndex = 0;
    }
    nextCycleStep(m);
    cycleSpriteAlpha(m);
}

} // namespace

std::int32_t slideFrames(const SceneMotion& m) {
    if (m.screenWidth <= 0)
        return 1;
    return std::max(m.backgroundWidth / m.screenWidth, 1);
}

void wrapView(SceneMotion& m) {
    setView(m, m.viewX, m.viewY);
}

std::int32_t clockTargetX(std::int32_t backgroundWidth, const SYSTEMTIME& time) {
    std::uint32_t seconds = time.wHour * 3600u + time.wMinute * 60u + time.wSecond;
    seconds = std::min<std::uint32_t>(seconds, kSecondsPerDay);
    // 64 bits: a background wider than 49710 pixels would overflow 32.
    std::uint64_t width = static_cast<std::uint32_t>(std::max(backgroundWidth, 0));
    return static_cast<std::int32_t>(width * seconds / kSecondsPerDay);
}

void advanceMotion(SceneMotion& m, LocalTimeSource localTime) {
    switch (m.moveType) {
    case MoveSlideShow:
        advanceSlideShow(m);
        break;
    case MoveDrift:
        advanceDrift(m);
        break;
    case MoveRandomHop:
        advanceRandomHop(m);
        break;
    case MoveClock:
        advanceClock(m, localTime ? localTime : &GetLocalTime);
        break;
    case MoveWaypoints:
        advanceWaypoints(m);
        break;
    default:
        break;
    }
}

void finishMotion(SceneMotion& m) {
    if (!m.skipIfReqFixedPos)
        return;
    switch (m.moveType) {
    case MoveSlideShow:
        if (m.phase % kFrameLength != 0) {
            m.phase = m.phase - m.phase % kFrameLength + kFrameLength;
            if (m.phase >= stripLength(m))
                m.phase = 0;
            m.holdFrames = m.powerSaveLatched ? kPowerSaveHoldFrames : kHoldFrames;
        }
        break;
    case MoveRandomHop:
    case MoveWaypoints:
        if (m.stepCount >= 1 && m.stepCount <= kGlideSteps - 1) {
            m.stepCount = kGlideSteps - 1;
            glideStep(m, m.stepCount);
        }
        break;
    default:
        break;
    }
}
