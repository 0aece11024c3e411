#include "settings/catalogue.h"
#include "settings/preferences.h"
#include "settings/wallpaper_decision.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_catalogue.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

class WallpaperDecisionTest : public testing::Test {
  protected:
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
    DesktopGuard desktop;
    TestCatalogue catalogue;
    TempFolder pictures;

    void setWallpaper(const std::string& path) {
        setRegistryString(kDesktopKey, "Wallpaper", path);
        deleteRegistryValue(kDesktopKey, "OriginalWallpaper");
        deleteRegistryValue(kDesktopKey, "ConvertedWallpaper");
    }

    std::string ownPath() {
        char path[kPathCapacity];
        EXPECT_TRUE(formOwnWallpaperPath(nullptr, path, sizeof path));
        return path;
    }

    void writeCatalogueWithResourcePath() {
        catalogue.write("[General]\nResourcePath=" + pictures.path() +
                        "\n[Type03]\nName=Three\nMoveType=0\n"
                        "File.1024x0768=wall1024.bmp,bg.bmp,sp.bmp\n"
                        "file.1920x1080=Wall1920.jpg,bg.jpg\nFiles=notafile.bmp\n");
    }
};

} // namespace

TEST_F(WallpaperDecisionTest, OwnPathIsInTheLocalApplicationDataFolder) {
    char appData[MAX_PATH * 2];
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, appData, CSIDL_LOCAL_APPDATA, TRUE));
    EXPECT_EQ(ownPath(),
              std::string(appData) + "\\Tolvane\\OrvikSaver\\CreatedFileByTolvaneScreenSaver.bmp");
    char tooSmall[20];
    EXPECT_FALSE(formOwnWallpaperPath(nullptr, tooSmall, sizeof tooSmall));
}

TEST_F(WallpaperDecisionTest, AlwaysAndNeverIgnoreTheWallpaper) {
    setWallpaper("C:\\Users\\someone\\holiday.jpg");
    saveWallpaperPolicy(WallpaperPolicy::Always);
    EXPECT_TRUE(shouldBuildWallpaper());
    setWallpaper(ownPath());
    saveWallpaperPolicy(WallpaperPolicy::Never);
    EXPECT_FALSE(shouldBuildWallpaper());
}

TEST_F(WallpaperDecisionTest, ConditionalAcceptsOurOwnFileInAnyLetterCase) {
    setWallpaper(upper(ownPath()));
    EXPECT_TRUE(shouldBuildWallpaper());
    writePreference(kWallpaperPolicyValue, 3);
    EXPECT_TRUE(shouldBuildWallpaper()) << "an unknown policy decides as Conditional";
    setWallpaper("C:\\Users\\someone\\holiday.jpg");
    EXPECT_FALSE(shouldBuildWallpaper());
}

TEST_F(WallpaperDecisionTest, ConditionalAcceptsAnyCatalogueWallpaperOfAnyScreenSize) {
    writeCatalogueWithResourcePath();
    setWallpaper(pictures.path() + "\\wall1920.JPG");
    EXPECT_TRUE(shouldBuildWallpaper()) << "lower-case file key of another screen size";
    setWallpaper(pictures.path() + "\\wall1024.bmp");
    EXPECT_TRUE(shouldBuildWallpaper());
    setWallpaper(pictures.path() + "\\bg.bmp");
    EXPECT_FALSE(shouldBuildWallpaper()) << "only the first field is the wallpaper";
    setWallpaper(pictures.path() + "\\notafile.bmp");
    EXPECT_FALSE(shouldBuildWallpaper()) << "\"Files\" is not a file key";
}

TEST_F(WallpaperDecisionTest, FallbackFolderCandidatesHoldTwoBackslashes) {
    catalogue.write("[Type00]\nName=Zero\nMoveType=0\nFile.1024x0768=wall.bmp\n");
    EXPECT_FALSE(isCataloguePicture((catalogue.folder() + "wall.bmp").c_str()));
    EXPECT_TRUE(isCataloguePicture((catalogue.folder() + "\\wall.bmp").c_str()));
}

TEST_F(WallpaperDecisionTest, ConvertedWallpaperCountsWhenWallpaperIsTheOriginal) {
    std::string own = ownPath();
    setRegistryString(kDesktopKey, "Wallpaper", "C:\\orig.bmp");
    setRegistryString(kDesktopKey, "OriginalWallpaper", "c:\\ORIG.bmp");
    setRegistryString(kDesktopKey, "ConvertedWallpaper", own);
    char current[kPathCapacity];
    ASSERT_TRUE(readCurrentWallpaper(current, sizeof current));
    EXPECT_EQ(current, own);
    EXPECT_TRUE(shouldBuildWallpaper());

    setRegistryString(kDesktopKey, "OriginalWallpaper", "C:\\other.bmp");
    ASSERT_TRUE(readCurrentWallpaper(current, sizeof current));
    EXPECT_STREQ(current, "C:\\orig.bmp");
    EXPECT_FALSE(shouldBuildWallpaper());
}

TEST_F(WallpaperDecisionTest, UnterminatedAndOversizedWallpaperTextIsSafe) {
    const char unterminated[] = {'C', ':', '\\', 'a', '.', 'b', 'm', 'p'};
    setRegistryValue(kDesktopKey, "Wallpaper", REG_SZ, unterminated, sizeof unterminated);
    deleteRegistryValue(kDesktopKey, "OriginalWallpaper");
    char current[kPathCapacity];
    std::memset(current, 'Z', sizeof current);
    ASSERT_TRUE(readCurrentWallpaper(current, sizeof current));
    EXPECT_STREQ(current, "C:\\a.bmp");

    setWallpaper(std::string(2000, 'w'));
    char small[16];
    ASSERT_TRUE(readCurrentWallpaper(small, sizeof small));
    EXPECT_LT(std::strlen(small), sizeof small);

    DWORD number = 5;
    setRegistryValue(kDesktopKey, "Wallpaper", REG_DWORD, &number, sizeof number);
    ASSERT_TRUE(readCurrentWallpaper(current, sizeof current));
    EXPECT_STREQ(current, "") << "a number is no path";
}
