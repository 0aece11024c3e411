#pragma once
#include "platform/kernel_handles.h"

#include <windows.h>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

// Whole files and folders as the tests check them.

// Opens a file for reading, or for writing (replacing it) with the given sharing.
KernelHandle openForRead(const std::string& path);
KernelHandle createForWrite(const std::string& path, DWORD share = 0);

// The file's bytes; throws when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::string& path);
// Writes the file whole; throws when it cannot be written.
void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Whether a file or folder of that name exists.
bool fileExists(const std::string& path);
bool isFolder(const std::string& path);

// The names in a folder ("." and ".." left out).
std::set<std::string> folderEntries(const std::string& folder);
