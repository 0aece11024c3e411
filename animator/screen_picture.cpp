#include "animator/screen_picture.h"
#include "platform/gdi_handles.h"
#include "platform/loaded_module.h"

#include <algorithm>

namespace {

using BufferSizesFn = LONG(WINAPI*)(UINT32, UINT32*, UINT32*);
using QueryConfigFn = LONG(WINAPI*)(UINT32, UINT32*, DISPLAYCONFIG_PATH_INFO*, UINT32*,
                                    DISPLAYCONFIG_MODE_INFO*, DISPLAYCONFIG_TOPOLOGY_ID*);
using DeviceInfoFn = LONG(WINAPI*)(DISPLAYCONFIG_DEVICE_INFO_HEADER*);

struct Blackout {
    HDC picture;
    POINT origin;
    const std::vector<std::string>* devices;
};

BOOL CALLBACK blackOutMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    const Blackout& blackout = *reinterpret_cast<const Blackout*>(data);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return TRUE;
    const auto& devices = *blackout.devices;
    const bool advanced = std::any_of(devices.begin(), devices.end(), [&](const std::string& d) {
        return lstrcmpiA(d.c_str(), info.szDevice) == 0;
    });
    if (advanced) {
        const RECT& r = info.rcMonitor;
        PatBlt(blackout.picture, r.left - blackout.origin.x, r.top - blackout.origin.y,
               r.right - r.left, r.bottom - r.top, BLACKNESS);
    }
    return TRUE;
}

} // namespace

std::vector<std::string> advancedColorMonitors() {
    std::vector<std::string> devices;
    // Looked up: Windows 7 has the display configuration, only 10 knows advanced colour
    // (and refuses the request before).
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto bufferSizes = findExport<BufferSizesFn>(user32, "GetDisplayConfigBufferSizes");
    auto queryConfig = findExport<QueryConfigFn>(user32, "QueryDisplayConfig");
    auto deviceInfo = findExport<DeviceInfoFn>(user32, "DisplayConfigGetDeviceInfo");
    if (!bufferSizes || !queryConfig || !deviceInfo)
        return devices;
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (bufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS)
        return devices;
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (queryConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(),
                    nullptr) != ERROR_SUCCESS)
        return devices;
    paths.resize(pathCount);
    for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
        DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO colour = {};
        colour.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO;
        colour.header.size = sizeof colour;
        colour.header.adapterId = path.targetInfo.adapterId;
        colour.header.id = path.targetInfo.id;
        if (deviceInfo(&colour.header) != ERROR_SUCCESS || !colour.advancedColorEnabled)
            continue;
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source = {};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof source;
        source.header.adapterId = path.sourceInfo.adapterId;
        source.header.id = path.sourceInfo.id;
        if (deviceInfo(&source.header) != ERROR_SUCCESS)
            continue;
        char name[CCHDEVICENAME * 2] = {};
        if (WideCharToMultiByte(CP_ACP, 0, source.viewGdiDeviceName, -1, name, sizeof name, nullptr,
                                nullptr) > 0)
            devices.emplace_back(name);
    }
    return devices;
}

std::unique_ptr<OffscreenSurface> copyOfScreen(const RECT& area) {
    return copyOfScreen(area, advancedColorMonitors());
}

std::unique_ptr<OffscreenSurface> copyOfScreen(const RECT& area,
                                               const std::vector<std::string>& advancedColor) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    WindowDC screen(nullptr);
    if (!screen)
        return nullptr;
    auto picture = std::make_unique<OffscreenSurface>(screen.get(), width, height);
    if (!*picture || !BitBlt(picture->dc(), 0, 0, width, height, screen.get(), area.left, area.top,
                             SRCCOPY | CAPTUREBLT))
        return nullptr;
    if (!advancedColor.empty()) {
        Blackout blackout{picture->dc(), POINT{area.left, area.top}, &advancedColor};
        EnumDisplayMonitors(nullptr, &area, blackOutMonitor, reinterpret_cast<LPARAM>(&blackout));
    }
    return picture;
}
