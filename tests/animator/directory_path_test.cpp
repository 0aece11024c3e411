#include "animator/directory_path.h"
#include "tests/support/file_access.h"
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

TEST(DirectoryPath, CreatesEveryLevelAndAcceptsExistingOnes) {
    TempFolder root;
    const std::string deepest = root.path() + "\\one\\two\\three";
    createDirectoryPath(deepest.c_str());
    EXPECT_TRUE(isFolder(root.path() + "\\one"));
    EXPECT_TRUE(isFolder(root.path() + "\\one\\two"));
    EXPECT_TRUE(isFolder(deepest));

    createDirectoryPath((root.path() + "\\one\\two\\four\\").c_str());
    EXPECT_TRUE(isFolder(root.path() + "\\one\\two\\four"));
    EXPECT_EQ(folderEntries(root.path() + "\\one\\two"), (std::set<std::string>{"four", "three"}));
}

TEST(DirectoryPath, LevelsAreTakenAtEachBackslash) {
    std::vector<std::string> levels;
    forEachFolderLevel("C:\\one\\two\\", [&](const char* level) { levels.push_back(level); });
    EXPECT_EQ(levels,
              (std::vector<std::string>{"C:", "C:\\one", "C:\\one\\two", "C:\\one\\two\\"}));
}

// Run on a Japanese system (code page 932): 0x95 0x5C is one character whose trail byte is
// a backslash. (Wine cannot make such a folder on this machine: without a Japanese locale
// of its own the host file system takes no non-ASCII names. The walk is what matters.)
TEST(DirectoryPathDoubleByte, TrailByteIsNoFolderSeparator) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs ANSI code page 932";
    const std::string name = "\x95\x5C";
    std::vector<std::string> levels;
    forEachFolderLevel(("C:\\" + name + "\\sub").c_str(),
                       [&](const char* level) { levels.push_back(level); });
    EXPECT_EQ(levels, (std::vector<std::string>{"C:", "C:\\" + name, "C:\\" + name + "\\sub"}))
        << "a level ended at the trail byte";
}
