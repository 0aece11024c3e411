#pragma once
#include <cstdint>
#include <vector>

// Where the Scenes of the monitors other than the primary stood when their pictures were
// handed over as one spanned wallpaper: per monitor its rectangle on the virtual screen and
// its three resume values, as one binary value "lBuildWpMonitors" of the preference key
// (the primary keeps the four values of its own).
inline constexpr char kMonitorRecordsValue[] = "lBuildWpMonitors";
inline constexpr std::size_t kMaxMonitorRecords = 16;

struct MonitorRecord {
    std::int32_t left, top, right, bottom;
    std::int32_t value1, value2, value3;
};

bool saveMonitorRecords(const std::vector<MonitorRecord>& records);
// Empty when the value is absent, not binary, not a whole number of records, or holds more
// than kMaxMonitorRecords.
std::vector<MonitorRecord> loadMonitorRecords();
void clearMonitorRecords();
