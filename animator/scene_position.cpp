#include "animator/scene_position.h"
#include "scene/scene.h"
#include "settings/preferences.h"

#include <cstdint>

void saveScenePosition(const Scene& scene) {
    if (!scene.fullScreen())
        return;
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::int32_t value3 = 0;
    switch (scene.moveType()) {
    case MoveSlideShow:
        value1 = scene.phase();
        break;
    case MoveDrift:
    case MoveRandomHop:
    case MoveClock:
        value1 = scene.viewX();
        value2 = scene.viewY();
        break;
    case MoveWaypoints:
        value1 = scene.viewX();
        value2 = scene.viewY();
        value3 = scene.waypointIndex();
        break;
    default:
        break;
    }
    writePreference(kResumeValue1, static_cast<std::uint32_t>(value1));
    writePreference(kResumeValue2, static_cast<std::uint32_t>(value2));
    writePreference(kResumeValue3, static_cast<std::uint32_t>(value3));
    writePreference(kResumeResolutionValue,
                    resumeResolution(scene.screenWidth(), scene.screenHeight()));
}
