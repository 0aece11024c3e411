#include "tests/support/test_catalogue.h"

#include <windows.h>
#include <cstdio>
#include <stdexcept>

TestCatalogue::TestCatalogue() {
    char module[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    path_.assign(module, length);
    path_.replace(path_.size() - 4, 4, ".ini");
    remove();
}

TestCatalogue::~TestCatalogue() {
    remove();
}

void TestCatalogue::write(const std::string& text) const {
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path_);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    // The profile functions may keep a parsed copy; make them read the file afresh.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

void TestCatalogue::remove() const {
    DeleteFileA(path_.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

std::string TestCatalogue::folder() const {
    return path_.substr(0, path_.rfind('\\') + 1);
}
