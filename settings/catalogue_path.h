#pragma once
#include <cstddef>

// The type catalogue lies beside the program: the module's own path with its last four
// characters replaced by ".ini". Fills path (capacity kPathCapacity or more) and returns
// true; false, with an empty path, when the module path cannot be had whole.
bool catalogueFilePath(char* path, std::size_t capacity);

// The folder that holds the pictures: [General] ResourcePath, expanded, when it names an
// existing folder; otherwise the program's folder with its trailing backslash (the
// catalogue's folder: it lies beside the program). cataloguePath as for the catalogue's
// reads.
void resourceFolder(char* folder, std::size_t capacity, const char* cataloguePath = nullptr);

// Ends the text right after its last backslash, walking back character by character so
// that a double-byte character's trail byte is never taken for one. The first character
// is never examined; a text without a backslash stays whole.
void cutAfterLastBackslash(char* path);
