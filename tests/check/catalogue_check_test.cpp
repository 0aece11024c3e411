// The checker in this process, against the saver's own loader: every problem a line of
// its own, and an error exactly where the saver would show the notice.
#include "check/catalogue_check.h"
#include "check/report_text.h"
#include "platform/gdi_handles.h"
#include "scene/scene.h"
#include "scene/scene_loader.h"
#include "tests/support/bmp_file.h"
#include "tests/support/catalogue_samples.h"
#include "tests/support/claiming_pictures.h"
#include "tests/support/demo_catalogue.h"
#include "tests/support/file_access.h"
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr ScreenSize kScreen = {640, 480};

std::string allLines(const CheckReport& report) {
    std::string text;
    for (const Problem& problem : report.problems)
        text += problemLine(report, problem) + "\n";
    return text;
}

// The saver's verdict on one type and screen: its loader and Scene, full screen, afresh.
bool saverFindsBroken(const std::string& catalogue, int type, ScreenSize screen, HDC dc) {
    Scene scene(loadSceneSetup(type, dc, screen.width, screen.height, true, false, nullptr,
                               catalogue.c_str()),
                dc);
    return scene.isBroken();
}

bool reportsErrorFor(const CheckReport& report, int type, ScreenSize screen) {
    return std::any_of(report.problems.begin(), report.problems.end(), [&](const Problem& p) {
        return p.severity == Severity::Error && p.type == type &&
               (p.screens.empty() ||
                std::find(p.screens.begin(), p.screens.end(), screen) != p.screens.end());
    });
}

// An error for a type at a size exactly when the saver finds that Scene broken; a type the
// checker does not see is one the saver cannot run either.
void expectAgreement(const CheckReport& report, std::vector<int> types, HDC dc) {
    for (const TypeOutcome& type : report.types)
        types.push_back(type.number);
    for (int number : types) {
        auto type = std::find_if(report.types.begin(), report.types.end(),
                                 [&](const TypeOutcome& t) { return t.number == number; });
        for (const ScreenSize& screen : report.screens) {
            SCOPED_TRACE("type " + std::to_string(number) + " at " + screenName(screen));
            const bool broken = saverFindsBroken(report.cataloguePath, number, screen, dc);
            if (type == report.types.end()) {
                EXPECT_TRUE(broken) << "the saver runs a type that the checker does not see";
                continue;
            }
            EXPECT_EQ(reportsErrorFor(report, number, screen), broken) << allLines(report);
            auto outcome = std::find_if(type->screens.begin(), type->screens.end(),
                                        [&](const ScreenOutcome& o) { return o.screen == screen; });
            ASSERT_NE(outcome, type->screens.end());
            EXPECT_EQ(outcome->broken, broken);
        }
    }
}

class CatalogueCheck : public testing::Test {
  protected:
    void SetUp() override {
        writeBmp(folder.file("wall.bmp"), 32, 24, [](int x, int y) { return RGB(x * 8, y, 40); });
        writeBmp(folder.file("back.bmp"), 900, 700,
                 [](int x, int y) { return RGB(x % 256, y % 256, (x + y) % 200); });
        // Three frames of the screen's width, and a strip that is not a whole number.
        writeBmp(folder.file("strip.bmp"), 3 * kScreen.width, kScreen.height,
                 [](int x, int y) { return RGB(x / 640 * 100, y % 256, 90); });
        writeBmp(folder.file("odd-strip.bmp"), 2 * kScreen.width + 100, kScreen.height,
                 [](int x, int) { return RGB(x % 256, 30, 60); });
        // Magenta at its left only: a sprite drawn mirrored would differ.
        writeBmp(folder.file("sprite.bmp"), 40, 30,
                 [](int x, int y) { return x < 10 ? RGB(255, 0, 255) : RGB(200, y * 8, 20); });
        writeBmp(folder.file("solid.bmp"), 40, 30, [](int, int) { return RGB(20, 180, 20); });
        writeBmp(folder.file("keyonly.bmp"), 20, 20, [](int, int) { return RGB(255, 0, 255); });
    }

    // Lines 1 and 2 name the pictures' folder, 3 to 5 start the type, 6 is its File key.
    std::string catalogue(const std::string& moveType, const std::string& entry,
                          const std::string& key = "File.0640x0480") const {
        return "[General]\r\nResourcePath=" + folder.path() +
               "\r\n[Type00]\r\nName=Case\r\nMoveType=" + moveType + "\r\n" + key + "=" + entry +
               "\r\n";
    }

    CheckReport check(const std::string& text, std::vector<ScreenSize> screens = {kScreen}) {
        folder.writeFile("case.ini", text);
        CheckReport report;
        std::string why;
        EXPECT_EQ(checkCatalogue({folder.file("case.ini"), screens, ""}, report, why),
                  CheckStatus::Checked)
            << why;
        return report;
    }

    TempFolder folder;
    WindowDC screen{nullptr};
};

TEST_F(CatalogueCheck, TheDemoCatalogueHasNoProblemAtAnySize) {
    copyDemoCatalogue(folder.path());
    CheckReport report;
    std::string why;
    ASSERT_EQ(checkCatalogue({folder.file("OrvikSaver.ini"), {}, ""}, report, why),
              CheckStatus::Checked)
        << why;
    EXPECT_EQ(report.problems.size(), 0u) << allLines(report);
    EXPECT_EQ(report.types.size(), 5u);
    // Its own sizes and the common ones, 3840 x 2160 scaled from the reference entry.
    ASSERT_EQ(report.screens.size(), 5u);
    for (const TypeOutcome& type : report.types) {
        ASSERT_EQ(type.screens.size(), 5u);
        EXPECT_FALSE(type.screens.back().broken);
        EXPECT_TRUE(type.screens.back().scaledFromReference);
        EXPECT_FALSE(type.screens.front().scaledFromReference);
    }
}

struct BrokenCase {
    const char* name;
    const char* moveType;
    std::string entry;
    std::string expected; // part of the problem line, from its "(line): "
    const char* key = "File.0640x0480";
};

const BrokenCase kBroken[] = {
    // Errors: the saver shows the notice.
    {"MissingPicture", "1", "wall.bmp,gone.bmp,2,1,sprite.bmp,10,10",
     "(6): error: [Type00] File.0640x0480: field 2 (background picture): \"gone.bmp\" is not in "
     "the resource folder"},
    {"UnknownMoveType", "7", "wall.bmp,back.bmp,sprite.bmp,10,10",
     "(5): error: [Type00] MoveType: move type 7 is unknown"},
    {"NoEntryForTheScreenNorTheReference", "1", "wall.bmp,back.bmp,2,1,sprite.bmp,10,10",
     "(3): error: [Type00]: the type has neither File.0640x0480 nor File.1024x0768",
     "File.0800x0600"},
    {"EqualHops", "2", "wall.bmp,back.bmp,30,30,sprite.bmp,0,0,1",
     "(6): error: [Type00] File.0640x0480: the shortest and the longest hop are both 30"},
    {"StripNarrowerThanTheScreen", "0", "wall.bmp,sprite.bmp,sprite.bmp,10,10",
     "(6): error: [Type00] File.0640x0480: the strip \"sprite.bmp\" is 40 pixels wide: not even "
     "one frame"},
    {"SpriteCutShort", "3", "wall.bmp,back.bmp,cut.bmp,10,10",
     "(6): error: [Type00] File.0640x0480: field 3 (sprite picture): \"cut.bmp\" is a BMP whose "
     "headers claim more than its bytes hold"},
    {"VastClaim", "1", "wall.bmp,vast.bmp,2,1,sprite.bmp,10,10",
     "(6): error: [Type00] File.0640x0480: field 2 (background picture): \"vast.bmp\" claims "
     "30000 x 30000 pixels"},
    {"TextPosingAsAPicture", "4", "wall.bmp,text.jpg,sprite.bmp,0,0,10,10",
     "\"text.jpg\" is no picture the system decodes"},
    // Warnings: it runs, but not as meant.
    {"NotANumber", "1", "wall.bmp,back.bmp,two,1,sprite.bmp,10,10",
     "(6): warning: [Type00] File.0640x0480: field 3 (x velocity) \"two\" is not a number: the "
     "saver reads 0"},
    {"Beyond32Bits", "1", "wall.bmp,back.bmp,2,99999999999,sprite.bmp,10,10",
     "field 4 (y velocity) \"99999999999\" lies beyond 32 bits: the saver reads 2147483647"},
    {"StripNotWholeFrames", "0", "wall.bmp,odd-strip.bmp,sprite.bmp,10,10",
     "(6): warning: [Type00] File.0640x0480: the strip \"odd-strip.bmp\" is 1380 pixels wide, not "
     "a whole number of 640-wide frames"},
    {"OddWaypointCount", "4", "wall.bmp,back.bmp,sprite.bmp,0,0,10,10,200",
     "(6): warning: [Type00] File.0640x0480: the last waypoint has an x but no y"},
    {"SpriteWithoutKeyColour", "3", "wall.bmp,back.bmp,solid.bmp,10,10",
     "\"solid.bmp\" has no pixel of the key colour"},
    {"SpriteAllKeyColour", "3", "wall.bmp,back.bmp,keyonly.bmp,10,10",
     "\"keyonly.bmp\" is all key colour"},
    {"SpriteOffTheScreenEdge", "1", "wall.bmp,back.bmp,2,1,sprite.bmp,620,10",
     "does not fit the 640x480 screen: it reaches 20 past the right edge"},
    {"FileKeyNotFourDigitsByFour", "1", "wall.bmp,back.bmp,2,1,sprite.bmp,10,10",
     "(6): warning: [Type00] File.640x480: no screen size reads this key", "File.640x480"},
    {"WallpaperMissing", "1", "gone.bmp,back.bmp,2,1,sprite.bmp,10,10",
     "field 1 (wallpaper picture): \"gone.bmp\" is not in the resource folder"},
};

class BrokenCatalogue : public CatalogueCheck, public testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenCatalogue, NamesTheProblemOnItsLineAndErrsExactlyWhereTheSaverCannotRun) {
    const BrokenCase& c = GetParam();
    const auto sprite = readFileBytes(folder.file("sprite.bmp"));
    writeFileBytes(folder.file("cut.bmp"), {sprite.begin(), sprite.begin() + 300});
    writeFileBytes(folder.file("vast.bmp"), bmpClaiming(30000, 30000));
    folder.writeFile("text.jpg", "a note, not a picture\r\n");

    const CheckReport report = check(catalogue(c.moveType, c.entry, c.key));
    const std::string lines = allLines(report);
    EXPECT_NE(lines.find(c.expected), std::string::npos) << lines;
    EXPECT_NE(lines.find(report.cataloguePath), std::string::npos);
    expectAgreement(report, {0}, screen.get());
}

INSTANTIATE_TEST_SUITE_P(Table, BrokenCatalogue, testing::ValuesIn(kBroken),
                         [](const testing::TestParamInfo<BrokenCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(CatalogueCheck, AnEntryScaledFromTheReferenceErrsOnlyAtTheSizesWhereItBreaks) {
    // Hops of 101 and 102 at 1024 x 768 are both 63 at 640 x 480.
    const CheckReport report =
        check(catalogue("2", "wall.bmp,back.bmp,101,102,sprite.bmp,0,0,1", "File.1024x0768"),
              {{1024, 768}, kScreen});
    const std::string lines = allLines(report);
    EXPECT_NE(
        lines.find("both 63 once scaled to 640x480; the longest must differ from the shortest: the "
                   "saver shows the notice (at 640x480)"),
        std::string::npos)
        << lines;
    EXPECT_EQ(report.errorCount(), 1) << lines;
    expectAgreement(report, {0}, screen.get());
}

TEST_F(CatalogueCheck, TheRandomizedCataloguesOfTheSettingsTestAgreeWithTheSaver) {
    // The pictures that their entries name, beside them, so that some types can run.
    for (const char* name : {"a.bmp", "b.bmp", "small.bmp", "large.bmp", "s.bmp"})
        writeBmp(folder.file(name), 700, 500, [](int x, int y) {
            return (x / 50 + y / 50) % 3 ? RGB(x % 256, 60, 200) : RGB(255, 0, 255);
        });
    CatalogueSamples samples;
    const std::vector<ScreenSize> screens = {{1024, 768}, {1280, 1024}, {800, 600}};
    for (int i = 0; i < CatalogueSamples::kCount; ++i) {
        const Mutator::Bytes bytes = samples.next();
        SCOPED_TRACE("catalogue " + std::to_string(i) + ", " + describeBytes(bytes, 400));
        folder.writeFile("case.ini", std::string(bytes.begin(), bytes.end()));
        CheckReport report;
        std::string why;
        const CheckStatus status =
            checkCatalogue({folder.file("case.ini"), screens, ""}, report, why);
        if (status == CheckStatus::Unreadable) {
            // No section at all: the saver has no type to run.
            for (int type : {0, 1, 2, 99})
                EXPECT_TRUE(saverFindsBroken(report.cataloguePath, type, screens[0], screen.get()));
            continue;
        }
        ASSERT_EQ(status, CheckStatus::Checked) << why;
        expectAgreement(report, {0, 1, 2, 99}, screen.get());
        if (testing::Test::HasFailure())
            return;
    }
}

} // namespace
