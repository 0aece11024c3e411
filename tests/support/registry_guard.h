#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Removes a per-user key with everything below it now and again when the guard goes, so
// that each test starts from, and leaves, no stored preferences.
class ScopedRegistryKeyRemoval {
  public:
    explicit ScopedRegistryKeyRemoval(std::string subKey);
    ~ScopedRegistryKeyRemoval();
    ScopedRegistryKeyRemoval(const ScopedRegistryKeyRemoval&) = delete;
    ScopedRegistryKeyRemoval& operator=(const ScopedRegistryKeyRemoval&) = delete;

  private:
    std::string subKey_;
};

// Saves values of a key (per-user unless another hive is given) and puts them back (or
// deletes them, when they did not exist) when the guard goes.
class ScopedRegistryValues {
  public:
    ScopedRegistryValues(std::string subKey, std::vector<std::string> names,
                         HKEY hive = HKEY_CURRENT_USER);
    ~ScopedRegistryValues();
    ScopedRegistryValues(const ScopedRegistryValues&) = delete;
    ScopedRegistryValues& operator=(const ScopedRegistryValues&) = delete;

  private:
    struct Saved {
        std::string name;
        bool existed;
        DWORD type;
        std::vector<BYTE> data;
    };
    HKEY hive_;
    std::string subKey_;
    std::vector<Saved> saved_;
};

// Test helpers for raw registry access, under HKEY_CURRENT_USER unless another hive is given.
void setRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                      const void* data, DWORD size, HKEY hive = HKEY_CURRENT_USER);
void setRegistryString(const std::string& subKey, const std::string& name, const std::string& text);
void deleteRegistryValue(const std::string& subKey, const std::string& name,
                         HKEY hive = HKEY_CURRENT_USER);
bool readRegistryDword(const std::string& subKey, const std::string& name, DWORD& value);
// The value, or 0xDEADBEEF (which no test stores) when it cannot be read.
DWORD registryDwordOrMarker(const std::string& subKey, const std::string& name);
// A text value; empty when absent or not text.
std::string readRegistryText(const std::string& subKey, const std::string& name);
