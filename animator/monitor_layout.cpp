#include "animator/monitor_layout.h"

namespace {

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<MonitorArea>*>(data)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

} // namespace

std::vector<MonitorArea> displayMonitors() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::vector<MonitorArea> layOutMonitorAreas(const RECT& windowRect,
                                            const std::vector<MonitorArea>& monitors) {
    std::vector<MonitorArea> areas;
    for (const MonitorArea& monitor : monitors) {
        RECT inside = {};
        if (!IntersectRect(&inside, &monitor.rect, &windowRect))
            continue;
        OffsetRect(&inside, -windowRect.left, -windowRect.top);
        areas.push_back({inside, monitor.primary});
    }
    if (areas.empty())
        areas.push_back(
            {{0, 0, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top}, true});
    return areas;
}
