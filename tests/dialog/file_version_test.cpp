#include "dialog/file_version.h"
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string besideTheTestProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

std::string suffixOf(const FileVersion& version, std::size_t capacity = 64) {
    char suffix[64];
    formatVersionSuffix(version, suffix, capacity);
    return suffix;
}

} // namespace

TEST(FileVersionTest, ProgramFileGivesItsFourNumbers) {
    FileVersion version{};
    ASSERT_TRUE(readFileVersion(besideTheTestProgram("dialog_tests.exe").c_str(), version));
    EXPECT_EQ(suffixOf(version), " V2.0.0.2");
}

TEST(FileVersionTest, NumbersComeFromTheFileVersionMostSignificantFirst) {
    // The probe's file version is 65535.2.3.40000 and its product version 9.8.7.6.
    FileVersion version{};
    ASSERT_TRUE(readFileVersion(besideTheTestProgram("version_probe.dll").c_str(), version));
    EXPECT_EQ(version.parts[0], 65535ul);
    EXPECT_EQ(version.parts[1], 2ul);
    EXPECT_EQ(version.parts[2], 3ul);
    EXPECT_EQ(version.parts[3], 40000ul);
    EXPECT_EQ(suffixOf(version), " V65535.2.3.40000");
}

TEST(FileVersionTest, FileWithoutAVersionResourceFails) {
    TempFolder folder;
    std::string plain = folder.writeFile("notes.txt", "no version here\r\n");
    FileVersion version{{7, 7, 7, 7}};
    EXPECT_FALSE(readFileVersion(plain.c_str(), version));
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(version.parts[0], 7ul) << "untouched";
}

TEST(FileVersionTest, MissingFileFailsWithItsOwnError) {
    TempFolder folder;
    FileVersion version{};
    SetLastError(0);
    EXPECT_FALSE(readFileVersion(folder.file("absent.dll").c_str(), version));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FileVersionTest, SuffixIsCutToItsBuffer) {
    FileVersion version{{65535, 65535, 65535, 65535}};
    EXPECT_EQ(suffixOf(version), " V65535.65535.65535.65535");
    EXPECT_EQ(suffixOf(version, 8), " V65535");
}
