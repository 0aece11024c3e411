#include "settings/catalogue_path.h"
#include "settings/catalogue.h"
#include "settings/text_buffer.h"

#include <windows.h>
#include <cstring>

bool catalogueFilePath(char* path, std::size_t capacity) {
    if (capacity == 0)
        return false;
    path[0] = '\0';
    char module[kPathCapacity];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    // A path that filled the buffer was cut; a catalogue beside a cut path is not ours.
    if (length < 4 || length >= sizeof module)
        return false;
    std::memcpy(module + length - 4, ".ini", 5);
    if (!copyText(path, capacity, module)) {
        path[0] = '\0';
        return false;
    }
    return true;
}

void cutAfterLastBackslash(char* path) {
    if (!*path)
        return;
    char* cursor = path + std::strlen(path);
    while (cursor > path) {
        cursor = CharPrevA(path, cursor);
        if (cursor == path)
            return;
        if (*cursor == '\\') {
            cursor[1] = '\0';
            return;
        }
    }
}

void resourceFolder(char* folder, std::size_t capacity, const char* cataloguePath) {
    if (capacity == 0)
        return;
    char configured[kPathCapacity];
    std::size_t configuredCapacity = capacity < sizeof configured ? capacity : sizeof configured;
    if (readCatalogueString("General", "ResourcePath", configured, configuredCapacity,
                            cataloguePath)) {
        DWORD needed = ExpandEnvironmentStringsA(configured, folder, static_cast<DWORD>(capacity));
        if (needed != 0 && needed <= capacity) {
            DWORD attributes = GetFileAttributesA(folder);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                return;
        }
    }
    if (cataloguePath ? !copyText(folder, capacity, cataloguePath)
                      : !catalogueFilePath(folder, capacity)) {
        folder[0] = '\0';
        return;
    }
    cutAfterLastBackslash(folder);
}
