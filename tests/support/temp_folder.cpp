#include "tests/support/temp_folder.h"

#include <windows.h>
#include <cstdio>
#include <stdexcept>

namespace {
void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = folder + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}
} // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    char unique[MAX_PATH];
    for (unsigned attempt = GetTickCount();; ++attempt) {
        std::snprintf(unique, sizeof unique, "%sorvik-test-%lu-%u", base, GetCurrentProcessId(),
                      attempt);
        if (CreateDirectoryA(unique, nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = unique;
}

TempFolder::~TempFolder() {
    removeTree(path_);
}

std::string TempFolder::writeFile(const std::string& name, const std::string& content) const {
    std::string full = file(name);
    FILE* out = std::fopen(full.c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + full);
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
    return full;
}
