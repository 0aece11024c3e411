#include "animator/scene_position.h"
#include "animator/monitor_resume.h"
#include "scene/scene.h"
#include "settings/preferences.h"

#include <cstdint>

void saveScenePosition(const Scene& scene) {
    if (!scene.fullScreen())
        return;
    const ResumeValues values = resumeValuesOf(scene);
    writePreference(kResumeValue1, static_cast<std::uint32_t>(values.value1));
    writePreference(kResumeValue2, static_cast<std::uint32_t>(values.value2));
    writePreference(kResumeValue3, static_cast<std::uint32_t>(values.value3));
    writePreference(kResumeResolutionValue,
                    resumeResolution(scene.screenWidth(), scene.screenHeight()));
}
