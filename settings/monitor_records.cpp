#include "settings/monitor_records.h"
#include "platform/registry_key.h"
#include "settings/preferences.h"

#include <windows.h>

namespace {

// Seven little-endian 32-bit numbers per record, whatever the compiler's layout.
constexpr std::size_t kRecordBytes = 7 * 4;

void putNumber(std::uint8_t* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t number(const std::uint8_t* at) {
    std::uint32_t bits = 0;
    for (int i = 4; i-- > 0;)
        bits = bits << 8 | at[i];
    return static_cast<std::int32_t>(bits);
}

} // namespace

bool saveMonitorRecords(const std::vector<MonitorRecord>& records) {
    if (records.empty() || records.size() > kMaxMonitorRecords)
        return false;
    std::vector<std::uint8_t> bytes(records.size() * kRecordBytes);
    std::uint8_t* at = bytes.data();
    for (const MonitorRecord& r : records)
        for (std::int32_t value :
             {r.left, r.top, r.right, r.bottom, r.value1, r.value2, r.value3}) {
            putNumber(at, value);
            at += 4;
        }
    RegKey().create(HKEY_CURRENT_USER, preferenceKey);
    RegKey key;
    return key.open(HKEY_CURRENT_USER, preferenceKey, KEY_WRITE) &&
           RegSetValueExA(key.get(), kMonitorRecordsValue, 0, REG_BINARY, bytes.data(),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::vector<MonitorRecord> loadMonitorRecords() {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, preferenceKey, KEY_READ))
        return {};
    std::uint8_t bytes[kMaxMonitorRecords * kRecordBytes];
    DWORD type = REG_NONE;
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key.get(), kMonitorRecordsValue, nullptr, &type, bytes, &size) !=
            ERROR_SUCCESS ||
        type != REG_BINARY || size == 0 || size % kRecordBytes != 0)
        return {};
    std::vector<MonitorRecord> records;
    for (const std::uint8_t* at = bytes; at < bytes + size; at += kRecordBytes)
        records.push_back({number(at), number(at + 4), number(at + 8), number(at + 12),
                           number(at + 16), number(at + 20), number(at + 24)});
    return records;
}

void clearMonitorRecords() {
    RegKey key;
    if (key.open(HKEY_CURRENT_USER, preferenceKey, KEY_SET_VALUE))
        RegDeleteValueA(key.get(), kMonitorRecordsValue);
}
