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
#include <vector>

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

namespace {

// Windows 7's shapes: "Wallpaper" names the system's transcoded copy, and the picture it
// was made from is kept in "TranscodedImageCache" (UTF-16 from byte 24) or, where the
// system keeps no cache, in "WallpaperSource". From Windows 8 on "WallpaperSource" keeps
// what the Active Desktop last wrote (a hand-off of ours) whatever the user picked since.
struct TranscodedCase {
    const char* what;
    const char* wallpaper; // the copy's path, or another
    const char* cache;     // "own", "catalogue", "holiday", or null for no value
    int cacheShape;        // 0 whole, 1 shorter than its header, 2 without a terminator
    const char* source;    // as cache, for "WallpaperSource"
    bool windows8;
    bool expected;
};

constexpr char kThemes[] = "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\";

const TranscodedCase kTranscodedCases[] = {
    {"the cache names our file", "TranscodedWallpaper.jpg", "own", 0, nullptr, false, true},
    {"the cache names a catalogue picture", "TRANSCODEDWALLPAPER.JPG", "catalogue", 0, nullptr,
     false, true},
    {"later systems' copy has no extension", "TranscodedWallpaper", "own", 0, nullptr, true, true},
    {"the cache names the user's own picture", "TranscodedWallpaper.jpg", "holiday", 0, nullptr,
     false, false},
    {"the cache is final: the user's picture, a stale source ours", "TranscodedWallpaper.jpg",
     "holiday", 0, "own", false, false},
    {"the user's slideshow after a hand-off (Windows 10)", "TranscodedWallpaper", "holiday", 0,
     "own", true, false},
    {"a cache shorter than its header is not ours", "TranscodedWallpaper.jpg", "own", 1,
     "catalogue", false, false},
    {"a cache without a terminator", "TranscodedWallpaper.jpg", "own", 2, nullptr, false, false},
    {"no cache: the source decides before Windows 8", "TranscodedWallpaper.jpg", nullptr, 0,
     "catalogue", false, true},
    {"no cache: the source is stale from Windows 8 on", "TranscodedWallpaper", nullptr, 0, "own",
     true, false},
    {"no cache, no source", "TranscodedWallpaper.jpg", nullptr, 0, nullptr, false, false},
    {"not the copy: the cache is not read", "holiday.jpg", "own", 0, "own", false, false},
};

class TranscodedWallpaperTest : public WallpaperDecisionTest,
                                public testing::WithParamInterface<TranscodedCase> {
  protected:
    ScopedRegistryValues source_{kSourceKey, {"WallpaperSource"}};
    static constexpr char kSourceKey[] = "Software\\Microsoft\\Internet Explorer\\Desktop\\General";

    std::string pathFor(const char* which) {
        const std::string name = which;
        if (name == "own")
            return ownPath();
        if (name == "catalogue")
            return pictures.path() + "\\wall1024.bmp";
        return "C:\\Users\\u\\Pictures\\holiday.jpg";
    }
};

} // namespace

TEST_P(TranscodedWallpaperTest, ThePictureBehindTheCopyDecides) {
    const TranscodedCase& c = GetParam();
    writeCatalogueWithResourcePath();
    setWallpaper(std::string(kThemes) + c.wallpaper);
    deleteRegistryValue(kDesktopKey, "TranscodedImageCache");
    deleteRegistryValue(kSourceKey, "WallpaperSource");
    if (c.cache) {
        const std::string path = pathFor(c.cache);
        std::vector<BYTE> data(24, 0x5A); // a header of the system's own
        for (unsigned char ch : path) {
            data.push_back(ch);
            data.push_back(0);
        }
        if (c.cacheShape != 2)
            data.insert(data.end(), {0, 0});
        if (c.cacheShape == 1)
            data.resize(20);
        setRegistryValue(kDesktopKey, "TranscodedImageCache", REG_BINARY, data.data(),
                         static_cast<DWORD>(data.size()));
    }
    if (c.source)
        setRegistryString(kSourceKey, "WallpaperSource", pathFor(c.source));
    EXPECT_EQ(shouldBuildWallpaper(c.windows8), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(TranscodedCopy, TranscodedWallpaperTest,
                         testing::ValuesIn(kTranscodedCases));

namespace {

constexpr char kActiveDesktopPolicy[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\ActiveDesktop";
constexpr char kSystemPolicy[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

} // namespace

// An administrator's background policy, for the user or the machine, keeps the desktop as
// it is under every user policy; a policy switched off or of another shape does not.
TEST_F(WallpaperDecisionTest, AnAdministratorsBackgroundPolicyOverridesEveryUserPolicy) {
    struct Case {
        const char* what;
        HKEY hive;
        const char* key;
        const char* name;
        DWORD type;
        DWORD number;     // for REG_DWORD
        const char* text; // for REG_SZ
        bool fixed;
    } cases[] = {
        {"no changing, the user's", HKEY_CURRENT_USER, kActiveDesktopPolicy, "NoChangingWallPaper",
         REG_DWORD, 1, nullptr, true},
        {"no changing, the machine's", HKEY_LOCAL_MACHINE, kActiveDesktopPolicy,
         "NoChangingWallPaper", REG_DWORD, 1, nullptr, true},
        {"no changing as text", HKEY_CURRENT_USER, kActiveDesktopPolicy, "NoChangingWallPaper",
         REG_SZ, 0, "1", true},
        {"no changing switched off", HKEY_LOCAL_MACHINE, kActiveDesktopPolicy,
         "NoChangingWallPaper", REG_DWORD, 0, nullptr, false},
        {"a fixed wallpaper, the user's", HKEY_CURRENT_USER, kSystemPolicy, "Wallpaper", REG_SZ, 0,
         "C:\\corp\\logo.bmp", true},
        {"a fixed empty wallpaper, the machine's", HKEY_LOCAL_MACHINE, kSystemPolicy, "Wallpaper",
         REG_SZ, 0, "", true},
        {"a number is no wallpaper policy", HKEY_CURRENT_USER, kSystemPolicy, "Wallpaper",
         REG_DWORD, 1, nullptr, false},
    };
    const std::string own = ownPath();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedRegistryValues policy(c.key, {c.name}, c.hive);
        if (c.type == REG_DWORD)
            setRegistryValue(c.key, c.name, REG_DWORD, &c.number, sizeof c.number, c.hive);
        else
            setRegistryValue(c.key, c.name, REG_SZ, c.text,
                             static_cast<DWORD>(std::strlen(c.text) + 1), c.hive);
        EXPECT_EQ(backgroundFixedByPolicy(), c.fixed);
        setWallpaper(own);
        for (WallpaperPolicy user : {WallpaperPolicy::Conditional, WallpaperPolicy::Always}) {
            saveWallpaperPolicy(user);
            EXPECT_EQ(shouldBuildWallpaper(), !c.fixed) << "user policy " << static_cast<int>(user);
        }
    }
    EXPECT_FALSE(backgroundFixedByPolicy()) << "the guards put every value back";
}
