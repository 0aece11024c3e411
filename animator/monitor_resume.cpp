#include "animator/monitor_resume.h"
#include "scene/scene.h"
#include "settings/monitor_records.h"

ResumeValues resumeValuesOf(const Scene& scene) {
    ResumeValues values;
    switch (scene.moveType()) {
    case MoveSlideShow:
        values.value1 = scene.phase();
        break;
    case MoveDrift:
    case MoveRandomHop:
    case MoveClock:
        values.value1 = scene.viewX();
        values.value2 = scene.viewY();
        break;
    case MoveWaypoints:
        values.value1 = scene.viewX();
        values.value2 = scene.viewY();
        values.value3 = scene.waypointIndex();
        break;
    default:
        break;
    }
    return values;
}

std::vector<ResumeValues> resumeOfOtherMonitors(const std::vector<MonitorArea>& areas,
                                                POINT origin) {
    const std::vector<MonitorRecord> records = loadMonitorRecords();
    std::vector<ResumeValues> values;
    for (const MonitorArea& area : areas) {
        if (area.primary)
            continue;
        const RECT onScreen = {area.rect.left + origin.x, area.rect.top + origin.y,
                               area.rect.right + origin.x, area.rect.bottom + origin.y};
        const MonitorRecord* found = nullptr;
        for (const MonitorRecord& r : records)
            if (r.left == onScreen.left && r.top == onScreen.top && r.right == onScreen.right &&
                r.bottom == onScreen.bottom)
                found = &r;
        if (!found)
            return {};
        values.push_back({found->value1, found->value2, found->value3});
    }
    if (values.size() != records.size())
        return {}; // a monitor of that layout is gone
    return values;
}
