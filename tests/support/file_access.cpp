#include "tests/support/file_access.h"

#include <stdexcept>

KernelHandle openForRead(const std::string& path) {
    return KernelHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

KernelHandle createForWrite(const std::string& path, DWORD share) {
    return KernelHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    KernelHandle file = openForRead(path);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::vector<std::uint8_t> bytes(GetFileSize(file.get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    KernelHandle file = createForWrite(path);
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::set<std::string> folderEntries(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
