#include "tests/support/registry_guard.h"
#include "platform/registry_key.h"

ScopedRegistryKeyRemoval::ScopedRegistryKeyRemoval(std::string subKey)
    : subKey_(std::move(subKey)) {
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
}

ScopedRegistryKeyRemoval::~ScopedRegistryKeyRemoval() {
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
}

ScopedRegistryValues::ScopedRegistryValues(std::string subKey, std::vector<std::string> names,
                                           HKEY hive)
    : hive_(hive), subKey_(std::move(subKey)) {
    RegKey key;
    key.open(hive_, subKey_.c_str(), KEY_READ);
    for (auto& name : names) {
        Saved saved{name, false, REG_NONE, {}};
        DWORD size = 0;
        if (key && RegQueryValueExA(key.get(), name.c_str(), nullptr, &saved.type, nullptr,
                                    &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.existed = RegQueryValueExA(key.get(), name.c_str(), nullptr, &saved.type,
                                             saved.data.data(), &size) == ERROR_SUCCESS;
        }
        saved_.push_back(std::move(saved));
    }
}

ScopedRegistryValues::~ScopedRegistryValues() {
    for (auto& saved : saved_) {
        if (saved.existed)
            setRegistryValue(subKey_, saved.name, saved.type, saved.data.data(),
                             static_cast<DWORD>(saved.data.size()), hive_);
        else
            deleteRegistryValue(subKey_, saved.name, hive_);
    }
}

void setRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                      const void* data, DWORD size, HKEY hive) {
    RegKey key;
    if (RegCreateKeyExA(hive, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.receive(),
                        nullptr) == ERROR_SUCCESS)
        RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void setRegistryString(const std::string& subKey, const std::string& name,
                       const std::string& text) {
    setRegistryValue(subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void deleteRegistryValue(const std::string& subKey, const std::string& name, HKEY hive) {
    RegKey key;
    if (key.open(hive, subKey.c_str(), KEY_WRITE))
        RegDeleteValueA(key.get(), name.c_str());
}

bool readRegistryDword(const std::string& subKey, const std::string& name, DWORD& value) {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, subKey.c_str(), KEY_READ))
        return false;
    DWORD type = 0;
    DWORD size = sizeof value;
    return RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value;
}

std::string readRegistryText(const std::string& subKey, const std::string& name) {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, subKey.c_str(), KEY_READ))
        return {};
    char text[1024];
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    text[size] = '\0';
    return text;
}

DWORD registryDwordOrMarker(const std::string& subKey, const std::string& name) {
    DWORD value = 0xDEADBEEF;
    readRegistryDword(subKey, name, value);
    return value;
}
