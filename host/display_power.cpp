#include "host/display_power.h"
#include "platform/windows_version.h"

#include <cstring>

namespace {

// GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed (Windows 8 and later).
constexpr GUID kConsoleDisplayState = {
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
// GUID_MONITOR_POWER_ON: 0 off, 1 on (Vista and 7; no dimmed state).
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

bool sameGuid(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

using RegisterFn = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HPOWERNOTIFY);

HMODULE user32() {
    return GetModuleHandleA("user32.dll");
}

} // namespace

DisplayPowerNotice::DisplayPowerNotice(HWND window) {
    // Looked up: the saver still starts on a system without them.
    auto registerFn = findExport<RegisterFn>(user32(), "RegisterPowerSettingNotification");
    if (!registerFn)
        return;
    const GUID& setting = atLeastWindows8() ? kConsoleDisplayState : kMonitorPowerOn;
    registration_ = registerFn(window, &setting, DEVICE_NOTIFY_WINDOW_HANDLE);
}

DisplayPowerNotice::~DisplayPowerNotice() {
    if (!registration_)
        return;
    if (auto unregisterFn =
            findExport<UnregisterFn>(user32(), "UnregisterPowerSettingNotification"))
        unregisterFn(registration_);
}

bool readDisplayPower(LPARAM setting, DisplayPower& state) {
    const auto* notice = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (!notice || notice->DataLength < sizeof(DWORD))
        return false;
    if (!sameGuid(notice->PowerSetting, kConsoleDisplayState) &&
        !sameGuid(notice->PowerSetting, kMonitorPowerOn))
        return false;
    DWORD value = 0;
    std::memcpy(&value, notice->Data, sizeof value);
    switch (value) {
    case 0:
        state = DisplayPower::Off;
        return true;
    case 1:
        state = DisplayPower::On;
        return true;
    case 2:
        state = DisplayPower::Dimmed;
        return true;
    default:
        return false;
    }
}
