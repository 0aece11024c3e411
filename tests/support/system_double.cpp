#include "tests/support/system_double.h"
#include "tests/support/unix_path.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> contentOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

bool installSystemDouble(const char* unixPath, const char* name) {
    const std::string source = windowsPathOf(unixPath);
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const std::string target = std::string(folder) + "\\" + name;
    const std::vector<char> wanted = contentOf(source);
    if (wanted.empty())
        return false;
    // A library that a process has loaded cannot be replaced; an equal one need not be.
    return contentOf(target) == wanted || CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}
