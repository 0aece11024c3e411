#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

// The test doubles talk to the test through files in their own folder (the saver's
// folder, where the test put them): they read what to answer and append what they saw.

extern "C" IMAGE_DOS_HEADER __ImageBase;

inline std::string doubleFolder() {
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

inline void appendRecord(const char* fileName, const std::string& line) {
    std::string path = doubleFolder() + fileName;
    if (FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), file);
        std::fclose(file);
    }
}

// Line number `index` (from 0) of the file; past the end, the last line.
inline std::string scriptLine(const char* fileName, int index) {
    std::string path = doubleFolder() + fileName;
    std::string line;
    std::string last;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[256];
        for (int i = 0; std::fgets(buffer, sizeof buffer, file); ++i) {
            last = buffer;
            while (!last.empty() && (last.back() == '\n' || last.back() == '\r'))
                last.pop_back();
            if (i == index) {
                line = last;
                break;
            }
        }
        std::fclose(file);
    }
    return line.empty() ? last : line;
}
