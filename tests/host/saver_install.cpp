#include "tests/host/saver_install.h"
#include "tests/host/saver_process.h"
#include "tests/host/test_pictures.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

SaverInstall::SaverInstall(const std::string& subFolder) {
    folder_ = temp_.path();
    if (!subFolder.empty()) {
        folder_ += "\\" + subFolder;
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    program_ = file("OrvikSaver.scr");
    if (!addBuiltFile(ORVIK_SAVER_FILE, "OrvikSaver.scr"))
        throw std::runtime_error("cannot copy the saver to " + program_);
}

bool SaverInstall::addBuiltFile(const char* unixPath, const std::string& name) const {
    return CopyFileA(windowsPathOf(unixPath).c_str(), file(name).c_str(), FALSE) != 0;
}

void SaverInstall::writeFile(const std::string& name, const std::string& content) const {
    FILE* out = std::fopen(file(name).c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + file(name));
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
}

void SaverInstall::writeStandardCatalogue() const {
    writeBackgroundBmp(file("back.bmp"));
    writeSpriteBmp(file("sprite.bmp"));
    // The screen's own key as well as the reference one: the pictures are then used as
    // they are, whatever the screen's size, and their colours can be read back.
    char screenKey[32];
    std::snprintf(screenKey, sizeof screenKey, "File.%04dx%04d=", GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN));
    auto typeSection = [&](const char* number, const char* name, int moveType,
                           const std::string& entry) {
        return std::string("[Type") + number + "]\r\nName=" + name +
               "\r\nMoveType=" + std::to_string(moveType) + "\r\n" + screenKey + entry +
               "\r\nFile.1024x0768=" + entry + "\r\n";
    };
    writeFile(
        "OrvikSaver.ini",
        "[General]\r\nResourcePath=" + folder_ + "\r\n" +
            typeSection("00", kStandardTypeNames[0], 1, "wall.bmp,back.bmp,2,0,sprite.bmp,-1,-1") +
            typeSection("02", kStandardTypeNames[1], 3, "wall.bmp,back.bmp,sprite.bmp,-1,-1") +
            typeSection("05", kStandardTypeNames[2], 0, "wall.bmp,back.bmp,sprite.bmp,-1,-1"));
}

std::vector<std::string> SaverInstall::readLines(const std::string& name) const {
    std::vector<std::string> lines;
    FILE* in = std::fopen(file(name).c_str(), "rb");
    if (!in)
        return lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, in)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        lines.push_back(line);
    }
    std::fclose(in);
    return lines;
}

std::string SaverInstall::quotedCommand(const std::string& tail) const {
    return "\"" + program_ + "\" " + tail;
}
