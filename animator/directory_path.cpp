#include "animator/directory_path.h"

void createDirectoryPath(const char* path) {
    forEachFolderLevel(path, [](const char* level) { CreateDirectoryA(level, nullptr); });
}
