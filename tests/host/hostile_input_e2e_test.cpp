#include "tests/host/e2e_fixture.h"
#include "tests/host/notice_picture.h"
#include "tests/host/user_input.h"
#include "tests/support/bmp_file.h"
#include "tests/support/claiming_pictures.h"
#include "tests/support/console_run.h"
#include "tests/support/file_access.h"
#include "tests/support/registry_guard.h"
#include "tests/support/wait_for.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class HostileInput;

// How long a run is watched from its window's showing: past the start-up fade, or past
// the start of the first cross-fade, hop or glide (which the close then completes).
constexpr DWORD kWatchMs = 3500;
constexpr DWORD kMotionWatchMs = 7000;

// One hostile input: what is put in place before the saver runs full screen over it.
struct HostileCase {
    const char* name;
    void (*prepare)(HostileInput&);
    DWORD watchMs = kWatchMs;
    // A picture whose header claims more than any the saver takes: refused at once, so
    // the notice shows, a key soon after the start closes, and memory stays low.
    bool vastPicture = false;
};

constexpr DWORD kVastWatchMs = 1500;
constexpr SIZE_T kPeakMemoryBound = SIZE_T{1} << 30;

// The most memory the process has had committed, or 0 when it cannot be read.
SIZE_T peakMemoryOf(DWORD processId) {
    KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters))
        return 0;
    return std::max(counters.PeakPagefileUsage, counters.PeakWorkingSetSize);
}

constexpr DWORD kWallpaperPolicyAlways = 2;
const char* const kPreferenceNames[] = {"lTypeNo",        "bwpBuildWp",     "lBuildWpValue1",
                                        "lBuildWpValue2", "lBuildWpValue3", "lBuildWpRes"};

// A black screen is one whose sampled rows are black throughout: the top, the quarters
// (the middle one crosses a centred sprite) and the bottom.
bool screenIsBlack() {
    const int height = GetSystemMetrics(SM_CYSCREEN);
    for (int y : {1, height / 4, height / 2, 3 * height / 4, height - 2})
        for (COLORREF colour : readScreenRow(y))
            if (colour & 0xFFFFFF)
                return false;
    return true;
}

std::string bmpHeader(int width, int height, WORD bitCount, DWORD coloursUsed, DWORD offBits) {
    BITMAPFILEHEADER file = {0x4D42, 0x7FFFFFFF, 0, 0, offBits};
    BITMAPINFOHEADER info = {sizeof info, width, height, 1,           bitCount, BI_RGB,
                             0,           0,     0,      coloursUsed, 0};
    std::string bytes(sizeof file + sizeof info, '\0');
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    return bytes;
}

std::string pseudoRandomBytes(std::size_t count) {
    std::string bytes;
    for (std::uint32_t state = 12345; bytes.size() < count;) {
        state = state * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(state >> 16));
    }
    return bytes;
}

// The state of the wallpaper file's place before a run.
struct WallpaperPlace {
    bool folder = false;
    bool file = false;
    std::vector<std::uint8_t> bytes;
};

// Every case starts from a previous wallpaper file of the saver's own, with the policy
// that hands the last frame over at every close, unless the case says otherwise.
class HostileInput : public SaverEndToEndTest, public testing::WithParamInterface<HostileCase> {
  public:
    using SaverEndToEndTest::install;
    using SaverEndToEndTest::ownWallpaper;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    KernelHandle held; // a file another program holds open during the run

    std::string dataFolder() const { return ownWallpaper.substr(0, ownWallpaper.rfind('\\')); }
    std::string tolvaneFolder() const { return dataFolder().substr(0, dataFolder().rfind('\\')); }

    // [General] naming the pictures' folder after the given lines (the first of a key wins).
    std::string general(const std::string& lines = "") const {
        return "[General]\r\n" + lines + "ResourcePath=" + install.folder() + "\r\n";
    }
    // The screen's own file key and the 1024 x 768 one, both with this entry.
    std::string fileKeys(const std::string& entry) const {
        char key[32];
        std::snprintf(key, sizeof key, "File.%04dx%04d=", width, height);
        return key + entry + "\r\nFile.1024x0768=" + entry + "\r\n";
    }
    // A [TypeNN] section; moveType as written.
    std::string type(int number, const std::string& moveType, const std::string& entry,
                     const std::string& lines = "") const {
        char section[16];
        std::snprintf(section, sizeof section, "[Type%02d]\r\n", number);
        return section + ("Name=Hostile\r\nMoveType=" + moveType + "\r\n") + lines +
               fileKeys(entry);
    }
    void catalogue(const std::string& text) const { install.writeFile("OrvikSaver.ini", text); }
    // Type 0 drifting over the given background with the given sprite, centred.
    void drift(const std::string& background, const std::string& sprite) const {
        catalogue(general() + type(0, "1", "wall.bmp," + background + ",2,0," + sprite + ",-1,-1"));
    }
    // Types 0 to 4 of the standard pictures, each of its own move type, for resume runs.
    void everyMoveType() const {
        catalogue(general() + type(0, "0", "wall.bmp,back.bmp,sprite.bmp,-1,-1") +
                  type(1, "1", "wall.bmp,back.bmp,2,1,sprite.bmp,-1,-1") +
                  type(2, "2", "wall.bmp,back.bmp,40,200,sprite.bmp,-1,-1,1") +
                  type(3, "3", "wall.bmp,back.bmp,sprite.bmp,-1,-1") +
                  type(4, "4", "wall.bmp,back.bmp,sprite.bmp,-1,-1,0,0,500,300,1000,0"));
    }
    PictureBytes fixture(const char* name) const {
        return readFileBytes(std::string(ORVIK_RASTER_FIXTURES) + "/" + name);
    }
    void vastPicture(const char* name, const PictureBytes& bytes) const {
        writeFileBytes(install.file(name), bytes);
    }
    std::string cut(const std::string& name, std::size_t length) const {
        std::vector<std::uint8_t> bytes = readFileBytes(install.file(name));
        return std::string(bytes.begin(), bytes.begin() + std::min(length, bytes.size()));
    }

    void preference(const char* name, DWORD value) const {
        setRegistryValue(kPreferenceKey, name, REG_DWORD, &value, sizeof value);
    }
    void everyPreference(DWORD type, const void* data, DWORD size) const {
        for (const char* name : kPreferenceNames)
            setRegistryValue(kPreferenceKey, name, type, data, size);
    }
    // Every preference at value; with type 0 selected instead and the desktop showing the
    // saver's own picture, the policy and the resume values are read too.
    void everyPreferenceAt(DWORD value, bool firstType = false) const {
        everyPreference(REG_DWORD, &value, sizeof value);
        if (firstType) {
            preference("lTypeNo", 0);
            desktopShowsOwnWallpaper();
        }
    }
    // Resume values for this screen, used as the last frame is handed over at every close.
    void resumeFrom(DWORD typeNumber, DWORD value1, DWORD value2, DWORD value3) const {
        everyMoveType();
        preference("lTypeNo", typeNumber);
        preference("lBuildWpValue1", value1);
        preference("lBuildWpValue2", value2);
        preference("lBuildWpValue3", value3);
        preference("lBuildWpRes", (static_cast<DWORD>(height) << 16) | static_cast<DWORD>(width));
    }
    // The desktop shows the saver's own picture: the conditional policy hands over too.
    void desktopShowsOwnWallpaper() const {
        setRegistryString(kDesktopKey, "Wallpaper", ownWallpaper);
    }

    // Whether OrvikCheck, beside the saver as the zip has it, reports an error for the type
    // the saver will show, at this screen's size: the saver must show the notice exactly then.
    bool checkerFindsTheSelectedTypeBroken() const {
        EXPECT_TRUE(install.addBuiltFile(ORVIK_CHECK_FILE, "OrvikCheck.exe"));
        const ConsoleRun run =
            runConsoleProgram(install.file("OrvikCheck.exe"),
                              "--screen " + std::to_string(width) + "x" + std::to_string(height));
        EXPECT_TRUE(run.finished) << "the checker did not end";
        if (run.exitCode == 2) // no catalogue to read: no type to show
            return true;
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << run.errors;
        // The saver reads the selection as 4 bytes of a number; anything else is type 0.
        DWORD selected = 0;
        if (!readRegistryDword(kPreferenceKey, "lTypeNo", selected))
            selected = 0;
        if (selected > 99)
            return true;
        char section[16];
        std::snprintf(section, sizeof section, "\nType%02lu ", selected);
        const std::size_t type = ("\n" + run.output).find(section);
        if (type == std::string::npos) // the checker sees no such type
            return true;
        const std::string size = "\n  " + std::to_string(width) + "x" + std::to_string(height);
        const std::size_t line = ("\n" + run.output).find(size, type);
        EXPECT_NE(line, std::string::npos) << run.output;
        const std::size_t end = run.output.find('\n', line);
        return run.output.substr(line, end - line).find("notice:") != std::string::npos;
    }

  protected:
    void SetUp() override {
        SaverEndToEndTest::SetUp();
        CreateDirectoryA(tolvaneFolder().c_str(), nullptr);
        CreateDirectoryA(dataFolder().c_str(), nullptr);
        writeBmp(ownWallpaper, 40, 30, [](int x, int y) { return RGB(x * 6, y * 8, 99); });
        setRegistryString(kDesktopKey, "Wallpaper", "C:\\Users\\someone\\holiday.bmp");
        preference("bwpBuildWp", kWallpaperPolicyAlways);
    }
    void TearDown() override {
        held.reset();
        RemoveDirectoryA(ownWallpaper.c_str());
        if (fileExists(tolvaneFolder()) && !isFolder(tolvaneFolder()))
            DeleteFileA(tolvaneFolder().c_str());
        SaverEndToEndTest::TearDown();
    }

    WallpaperPlace wallpaperPlace() const {
        WallpaperPlace place;
        place.folder = isFolder(ownWallpaper);
        place.file = fileExists(ownWallpaper) && !place.folder;
        if (place.file)
            place.bytes = readFileBytes(ownWallpaper);
        return place;
    }

    // The saver's picture of this screen, whole: its exact length and a 24-bit header.
    bool isWholeWallpaper(const std::vector<std::uint8_t>& bytes) const {
        BITMAPFILEHEADER file;
        BITMAPINFOHEADER info;
        if (bytes.size() != bmpFileLength(width, height))
            return false;
        std::memcpy(&file, bytes.data(), sizeof file);
        std::memcpy(&info, bytes.data() + sizeof file, sizeof info);
        return file.bfType == 0x4D42 && file.bfOffBits == sizeof file + sizeof info &&
               info.biSize == sizeof info && info.biWidth == width &&
               (info.biHeight == height || info.biHeight == -height) && info.biBitCount == 24;
    }

    void expectPreviousOrWholeWallpaper(const WallpaperPlace& before) const {
        const WallpaperPlace after = wallpaperPlace();
        if (before.folder)
            EXPECT_TRUE(after.folder) << "the folder in the wallpaper's place went";
        else if (after.file)
            EXPECT_TRUE(after.bytes == before.bytes || isWholeWallpaper(after.bytes))
                << "the wallpaper file is neither the previous one nor whole ("
                << after.bytes.size() << " bytes)";
        else
            EXPECT_FALSE(before.file) << "the previous wallpaper file went";
        for (const std::string& name : folderEntries(dataFolder()))
            EXPECT_FALSE(name.rfind("owp", 0) == 0 && name.size() > 4 &&
                         name.substr(name.size() - 4) == ".tmp")
                << "temporary file left behind: " << name;
    }
};

} // namespace

TEST_P(HostileInput, RunsShowsAPictureOrTheNoticeAndClosesLeavingAWholeOrThePreviousWallpaper) {
    ASSERT_NO_FATAL_FAILURE(GetParam().prepare(*this));
    const WallpaperPlace before = wallpaperPlace();
    const bool checkerErrs = checkerFindsTheSelectedTypeBroken();
    ASSERT_TRUE(waitFor(screenIsBlack, 20000)) << "an earlier window is still on the screen";

    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr) << "no saver window; exit code " << run.exitCode();
    const DWORD shownAt = GetTickCount();
    waitFor([&] { return !screenIsBlack() || !run.running(); }, 15000);
    const DWORD watchMs = GetParam().watchMs;
    idleFor(watchMs - std::min<DWORD>(GetTickCount() - shownAt, watchMs));
    ASSERT_TRUE(run.running()) << "the saver ended by itself with " << std::hex << run.exitCode();
    EXPECT_FALSE(screenIsBlack()) << "neither a picture nor the notice is shown";
    const std::vector<int> heights = {height / 4, height / 2, 3 * height / 4};
    const auto notice = noticeRows(install.program(), heights);
    if (checkerErrs || GetParam().vastPicture)
        EXPECT_TRUE(waitFor([&] { return screenShows(notice, heights); }, 5000))
            << "the notice did not show"
            << (checkerErrs ? ", though the checker found errors" : "");
    else
        EXPECT_FALSE(screenShows(notice, heights))
            << "the notice shows, but the checker found no error";
    if (GetParam().vastPicture) {
        EXPECT_TRUE(checkerErrs) << "the checker took a vast picture";
        const SIZE_T peak = peakMemoryOf(run.id());
        EXPECT_GT(peak, 0u) << "the saver's memory could not be read";
        EXPECT_LT(peak, kPeakMemoryBound) << "the saver took " << (peak >> 20) << " MiB";
    }

    ASSERT_TRUE(waitUntilForeground(window));
    pressKeys({VK_SPACE});
    ASSERT_TRUE(run.waitForExit(GetParam().vastPicture ? 5000 : 30000))
        << "a key did not close the saver";
    EXPECT_EQ(run.exitCode(), 0u);
    held.reset();
    expectPreviousOrWholeWallpaper(before);
}

namespace {

const std::string k5000(5000, 'x');

const HostileCase kCorpus[] = {
    // The catalogue.
    {"TextWhereNumbersBelong",
     [](HostileInput& h) {
         h.catalogue(h.general("PowerSaveTimeoutMulDiv=one,three\r\nPowerSaveTimeoutMax=soon\r\n"
                               "ScrStartStyle=fade\r\n") +
                     h.type(0, "slide", "wall.bmp,back.bmp,sprite.bmp,left,top",
                            "MotionWhilePowerSave=some\r\nSkipIfReqFixedPos=no\r\n"));
     },
     kMotionWatchMs},
    {"NumbersBeyond32Bits",
     [](HostileInput& h) {
         h.catalogue(h.general("PowerSaveTimeoutMulDiv=99999999999,99999999999\r\n"
                               "PowerSaveTimeoutMax=-99999999999\r\nScrStartStyle=4294967296\r\n") +
                     h.type(0, "4294967297",
                            "wall.bmp,back.bmp,99999999999,-99999999999,sprite.bmp,99999999999,"
                            "99999999999",
                            "MotionWhilePowerSave=99999999999\r\n"));
     }},
    {"NegativeSizesAndSpeeds",
     [](HostileInput& h) {
         h.catalogue(h.general("PowerSaveTimeoutMulDiv=-1,-3\r\nPowerSaveTimeoutMax=-300\r\n"
                               "ScrStartStyle=-1\r\nResourcePath=" +
                               h.install.file("back.bmp") + "\r\n") +
                     h.type(0, "2", "wall.bmp,back.bmp,-40,-10,sprite.bmp,-5,-5,-1",
                            "MotionWhilePowerSave=-7\r\n"));
     },
     kMotionWatchMs},
    {"MissingFieldsAndNoGeneralSection",
     [](HostileInput& h) { h.catalogue(h.type(0, "1", "wall.bmp,back.bmp,2")); }},
    {"ExtraFieldsKeysAndSections",
     [](HostileInput& h) {
         h.catalogue(h.general("Colour=red\r\n") +
                     h.type(0, "1", "wall.bmp,back.bmp,2,0,sprite.bmp,-1,-1,1,2,3,extra,,,",
                            "Name=Again\r\nMoveType=3\r\nSpeed=9\r\n") +
                     "[Type100]\r\nName=Hundred\r\nMoveType=1\r\n[TypeXY]\r\n[Type00]\r\n");
     }},
    {"UnknownMoveType",
     [](HostileInput& h) {
         h.catalogue(h.general() + h.type(0, "5", "wall.bmp,back.bmp,sprite.bmp,-1,-1"));
     }},
    {"NegativeMoveType",
     [](HostileInput& h) {
         h.catalogue(h.general() + h.type(0, "-1", "wall.bmp,back.bmp,sprite.bmp,-1,-1"));
     }},
    {"EmptyHopRange",
     [](HostileInput& h) {
         h.catalogue(h.general() + h.type(0, "2", "wall.bmp,back.bmp,30,30,sprite.bmp,-1,-1,1"));
     }},
    {"MoreThan100Waypoints",
     [](HostileInput& h) {
         std::string entry = "wall.bmp,back.bmp,sprite.bmp,-1,-1";
         for (int i = 0; i < 150; ++i) {
             char pair[16];
             std::snprintf(pair, sizeof pair, ",%d,%d", i * 13 % 100, -(i * 7 % 100));
             entry += pair;
         }
         h.catalogue(h.general() + h.type(0, "4", entry));
     },
     kMotionWatchMs},
    {"OddCountOfWaypointCoordinates",
     [](HostileInput& h) {
         h.catalogue(h.general() +
                     h.type(0, "4", "wall.bmp,back.bmp,sprite.bmp,-1,-1,100,50,700,-20,5000"));
     },
     kMotionWatchMs},
    {"NamesKeysSectionsAndLinesOf5000Characters",
     [](HostileInput& h) {
         // Under the conditional policy the decision reads every type's file keys.
         h.preference("bwpBuildWp", 0);
         h.catalogue(h.general("PowerSaveTimeoutMulDiv=" + std::string(5000, '7') + "\r\n") +
                     "[Type00]\r\nName=" + k5000 + "\r\n" + k5000 + "\r\n" + k5000 +
                     "=value\r\nMoveType=" + std::string(5000, '0') + "\r\n" +
                     h.fileKeys("wall.bmp,back.bmp,sprite.bmp,-1,-1," + k5000) + "[" + k5000 +
                     "]\r\nName=x\r\n" + h.type(1, "1", k5000 + ",back.bmp,2,0,sprite.bmp,0,0"));
     },
     kMotionWatchMs},
    {"FileNameOf5000Characters", [](HostileInput& h) { h.drift("back.bmp", k5000 + ".bmp"); }},
    {"CatalogueOfRandomBytes", [](HostileInput& h) { h.catalogue(pseudoRandomBytes(8192)); }},
    {"FolderWhereTheCatalogueBelongs",
     [](HostileInput& h) {
         DeleteFileA(h.install.file("OrvikSaver.ini").c_str());
         ASSERT_TRUE(CreateDirectoryA(h.install.file("OrvikSaver.ini").c_str(), nullptr));
     }},

    // The pictures.
    {"EmptyBackgroundAndAFolderForTheSprite",
     [](HostileInput& h) {
         h.install.writeFile("empty.bmp", "");
         CreateDirectoryA(h.install.file("folder.bmp").c_str(), nullptr);
         h.drift("empty.bmp", "folder.bmp");
     }},
    {"CutJpegBackgroundAndCutGifSprite",
     [](HostileInput& h) {
         ASSERT_TRUE(h.install.addBuiltFile(ORVIK_RASTER_FIXTURES "/split.jpg", "split.jpg"));
         ASSERT_TRUE(h.install.addBuiltFile(ORVIK_RASTER_FIXTURES "/split.gif", "split.gif"));
         h.install.writeFile("cut.jpg", h.cut("split.jpg", 330));
         h.install.writeFile("cut.gif", h.cut("split.gif", 40));
         h.drift("cut.jpg", "cut.gif");
     }},
    {"CutBmpBackground",
     [](HostileInput& h) {
         h.install.writeFile("cut.bmp", h.cut("back.bmp", 54 + 3 * 2048 * 100 + 17));
         h.drift("cut.bmp", "sprite.bmp");
     }},
    {"CutBmpSprite",
     [](HostileInput& h) {
         h.install.writeFile("cut.bmp", h.cut("sprite.bmp", 100));
         h.drift("back.bmp", "cut.bmp");
     }},
    {"TextPosingAsPictures",
     [](HostileInput& h) {
         h.install.writeFile("text.bmp", "BM is not a picture\r\n");
         h.install.writeFile("text.gif", "GIF89a, or so it says\r\n");
         h.drift("text.bmp", "text.gif");
     }},
    {"BmpHeadersClaimingSizesAndAPaletteBeyondTheFile",
     [](HostileInput& h) {
         h.install.writeFile("vast.bmp", bmpHeader(30000, 30000, 24, 0, 54) + std::string(64, 'p'));
         h.install.writeFile("palette.bmp",
                             bmpHeader(64, 64, 8, 0x7FFFFFFF, 0x7FFFFFF0) + std::string(64, 'p'));
         h.drift("vast.bmp", "palette.bmp");
     }},
    {"OneByOnePictures",
     [](HostileInput& h) {
         writeBmp(h.install.file("dot.bmp"), 1, 1, [](int, int) { return RGB(40, 90, 200); });
         writeBmp(h.install.file("speck.bmp"), 1, 1, [](int, int) { return RGB(250, 250, 0); });
         h.drift("dot.bmp", "speck.bmp");
     }},
    {"SpriteFarLargerThanTheScreen",
     [](HostileInput& h) {
         writeBmp(h.install.file("giant.bmp"), 3000, 2400, [](int x, int y) {
             return (x / 100 + y / 100) % 2 ? RGB(0x20, 0xC0, 0x40) : RGB(255, 0, 255);
         });
         h.drift("back.bmp", "giant.bmp");
     }},

    // Pictures whose headers claim far more than they hold, as backgrounds of several
    // move types and as sprites.
    {"VastJpegBackgroundOfARandomHop",
     [](HostileInput& h) {
         h.vastPicture("vast.jpg", jpegClaiming(h.fixture("split.jpg"), 30000, 20000));
         h.catalogue(h.general() + h.type(0, "2", "wall.bmp,vast.jpg,40,200,sprite.bmp,-1,-1,1"));
     },
     kVastWatchMs, true},
    {"VastBmpBackgroundOfADrift",
     [](HostileInput& h) {
         h.vastPicture("vast.bmp", bmpClaiming(16000, 16000));
         h.drift("vast.bmp", "sprite.bmp");
     },
     kVastWatchMs, true},
    {"VastGifBackgroundOfASlideShow",
     [](HostileInput& h) {
         h.vastPicture("vast.gif", gifClaiming(h.fixture("split.gif"), 60000, 60000, 0, 19));
         h.catalogue(h.general() + h.type(0, "0", "wall.bmp,vast.gif,sprite.bmp,-1,-1"));
     },
     kVastWatchMs, true},
    {"VastJpegSprite",
     [](HostileInput& h) {
         h.vastPicture("vast.jpg", jpegClaiming(h.fixture("split.jpg"), 30000, 20000));
         h.drift("back.bmp", "vast.jpg");
     },
     kVastWatchMs, true},
    {"VastBmpSprite",
     [](HostileInput& h) {
         h.vastPicture("vast.bmp", bmpClaiming(16000, -16000));
         h.drift("back.bmp", "vast.bmp");
     },
     kVastWatchMs, true},
    {"VastGifSprite",
     [](HostileInput& h) {
         h.vastPicture("vast.gif", gifClaiming(h.fixture("split.gif"), 19, 11, 40000, 19));
         h.drift("back.bmp", "vast.gif");
     },
     kVastWatchMs, true},

    // The preference store.
    {"PreferencesStoredAsText",
     [](HostileInput& h) {
         h.everyPreference(REG_SZ, "2", 2);
         h.desktopShowsOwnWallpaper();
     }},
    {"PreferencesStoredAsRawBytesLongerThan4",
     [](HostileInput& h) {
         const BYTE eight[8] = {2, 0, 0, 0, 1, 0, 0, 0};
         h.everyPreference(REG_BINARY, eight, sizeof eight);
         h.desktopShowsOwnWallpaper();
     }},
    {"PreferencesAt7FFFFFFF", [](HostileInput& h) { h.everyPreferenceAt(0x7FFFFFFF); }},
    {"PreferencesAt80000000", [](HostileInput& h) { h.everyPreferenceAt(0x80000000); }},
    {"PreferencesAtFFFFFFFF", [](HostileInput& h) { h.everyPreferenceAt(0xFFFFFFFF); }},
    {"PolicyAndResumeValuesAt7FFFFFFFForTheFirstType",
     [](HostileInput& h) { h.everyPreferenceAt(0x7FFFFFFF, true); }},
    {"PolicyAndResumeValuesAt80000000ForTheFirstType",
     [](HostileInput& h) { h.everyPreferenceAt(0x80000000, true); }},
    {"PolicyAndResumeValuesAtFFFFFFFFForTheFirstType",
     [](HostileInput& h) { h.everyPreferenceAt(0xFFFFFFFF, true); }},
    {"SlideShowResumesBeyondItsStrip",
     [](HostileInput& h) { h.resumeFrom(0, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF); }, kMotionWatchMs},
    {"DriftResumesOutsideThePicture",
     [](HostileInput& h) { h.resumeFrom(1, 0x80000000, 0x7FFFFFFF, 0x7FFFFFFF); }},
    {"RandomHopResumesOutsideThePicture",
     [](HostileInput& h) { h.resumeFrom(2, 0xFFFFFFFF, 0x80000000, 0x80000000); }, kMotionWatchMs},
    {"ClockResumesOutsideThePicture",
     [](HostileInput& h) { h.resumeFrom(3, 0x7FFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF); }},
    {"WaypointsResumeBeyondTheirList",
     [](HostileInput& h) { h.resumeFrom(4, static_cast<DWORD>(-100000), 5000000, 0x7FFFFFFF); },
     kMotionWatchMs},
    {"WaypointsResumeBeforeTheirList",
     [](HostileInput& h) { h.resumeFrom(4, 0x7FFFFFFF, 0x80000000, 0x80000000); }, kMotionWatchMs},

    // The file system.
    {"FolderInTheWallpapersPlace",
     [](HostileInput& h) {
         DeleteFileA(h.ownWallpaper.c_str());
         ASSERT_TRUE(CreateDirectoryA(h.ownWallpaper.c_str(), nullptr));
     }},
    {"WallpaperHeldOpenByAnotherProgram",
     [](HostileInput& h) {
         h.held.reset(CreateFileA(h.ownWallpaper.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
         ASSERT_TRUE(h.held);
     }},
    {"FileWhereTheDataFolderBelongs",
     [](HostileInput& h) {
         DeleteFileA(h.ownWallpaper.c_str());
         RemoveDirectoryA(h.dataFolder().c_str());
         ASSERT_TRUE(RemoveDirectoryA(h.tolvaneFolder().c_str()));
         writeFileBytes(h.tolvaneFolder(), {'x'});
     }},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Hostile, HostileInput, testing::ValuesIn(kCorpus),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             return std::string(info.param.name);
                         });
