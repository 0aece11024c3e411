#include "tests/support/unix_path.h"

#include <algorithm>

std::string windowsPathOf(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
