#pragma once
#include "animator/monitor_layout.h"
#include "scene/scene_setup.h"

#include <windows.h>

#include <vector>

class Scene;

// The resume values of the Scene.
ResumeValues resumeValuesOf(const Scene& scene);

// For each monitor other than the primary, in the order of areas, the values stored for it
// at the last spanned hand-off: all of them when the records name exactly these monitors
// (areas in the window's coordinates, the window's corner at origin on the virtual
// screen), none otherwise.
std::vector<ResumeValues> resumeOfOtherMonitors(const std::vector<MonitorArea>& areas,
                                                POINT origin);
