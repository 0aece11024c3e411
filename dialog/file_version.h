#pragma once
#include <cstddef>

// The four numbers of a file's fixed file version, most significant first (2.0.0.2 is
// {2, 0, 0, 2}).
struct FileVersion {
    unsigned long parts[4];
};

// Reads the fixed file version of the file at path. Returns false when the file has no
// version resource or it cannot be read; the last-error code is then the failure's.
bool readFileVersion(const char* path, FileVersion& version);

// " V%lu.%lu.%lu.%lu" of the version into suffix, cut to capacity - 1.
void formatVersionSuffix(const FileVersion& version, char* suffix, std::size_t capacity);
