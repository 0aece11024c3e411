#pragma once
#include "settings/text_buffer.h"

#include <windows.h>
#include <cstddef>

// Calls visit(level) with each folder level of path, outermost first: the text before
// each backslash (the first character is never taken for one), then the whole path. The
// path is walked character by character in the active code page, so that a double-byte
// character's trail byte is never taken for a backslash. Levels longer than a path buffer
// are left out.
template <typename Visit>
void forEachFolderLevel(const char* path, Visit visit) {
    char level[kPathCapacity];
    for (const char* cursor = CharNextA(path); *cursor != '\0'; cursor = CharNextA(cursor)) {
        if (*cursor == '\\' &&
            copyText(level, sizeof level, path, static_cast<std::size_t>(cursor - path)))
            visit(static_cast<const char*>(level));
    }
    visit(path);
}

// Creates every folder level of path. Failures (a drive name, a folder that exists) are
// ignored.
void createDirectoryPath(const char* path);
