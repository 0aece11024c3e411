#include "settings/catalogue.h"
#include "settings/catalogue_path.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_catalogue.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class CatalogueTest : public testing::Test {
  protected:
    TestCatalogue catalogue;

    TypeSettings read(int type, int width = 1024, int height = 768, unsigned parts = TypePartsAll) {
        TypeSettings settings{};
        lastResult = readTypeSettings(type, width, height, parts, settings);
        return settings;
    }
    bool lastResult = false;
};

} // namespace

TEST_F(CatalogueTest, PathIsTheModulePathWithIniForTheLastFourCharacters) {
    char path[kPathCapacity];
    ASSERT_TRUE(catalogueFilePath(path, sizeof path));
    char module[kPathCapacity];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string expected(module);
    expected.replace(expected.size() - 4, 4, ".ini");
    EXPECT_EQ(path, expected);
}

TEST_F(CatalogueTest, WithoutACatalogueEverythingTakesItsDefault) {
    PowerSaveSettings power = readPowerSaveSettings();
    EXPECT_EQ(power.multiplier, 1);
    EXPECT_EQ(power.divisor, 3);
    EXPECT_EQ(power.maximumSeconds, 300);
    EXPECT_EQ(readStartStyle(), 1);
    for (int type = 0; type <= 99; ++type) {
        read(type);
        EXPECT_FALSE(lastResult) << type;
    }
    char folder[kPathCapacity];
    resourceFolder(folder, sizeof folder);
    EXPECT_EQ(folder, catalogue.folder());
}

TEST_F(CatalogueTest, PowerSaveShareFallsBackWhenTheDivisorIsZero) {
    struct Case {
        const char* value;
        int multiplier, divisor;
    } cases[] = {{"2", 1, 3},     {"0,5", 0, 5}, {",4", 0, 4}, {"3,0", 1, 3},
                 {"2,3,9", 2, 3}, {"x,7", 0, 7}, {"4,y", 1, 3}};
    for (const Case& c : cases) {
        catalogue.write(std::string("[General]\nPowerSaveTimeoutMulDiv=") + c.value + "\n");
        PowerSaveSettings power = readPowerSaveSettings();
        EXPECT_EQ(power.multiplier, c.multiplier) << c.value;
        EXPECT_EQ(power.divisor, c.divisor) << c.value;
        EXPECT_EQ(power.maximumSeconds, 300) << c.value;
    }
}

TEST_F(CatalogueTest, PowerSaveMaximumAndStartStyleTakeTheirFirstField) {
    catalogue.write("[General]\nPowerSaveTimeoutMax=abc\nScrStartStyle=0\n");
    EXPECT_EQ(readPowerSaveSettings().maximumSeconds, 0);
    EXPECT_EQ(readStartStyle(), 0);
    catalogue.write("[General]\nPowerSaveTimeoutMax=120,5\nScrStartStyle=2,9\n");
    EXPECT_EQ(readPowerSaveSettings().maximumSeconds, 120);
    EXPECT_EQ(readStartStyle(), 2);
}

TEST_F(CatalogueTest, AValueOfTheMarkerByteReadsAsAbsent) {
    catalogue.write("[General]\nScrStartStyle=\x01\nPowerSaveTimeoutMax=\x01\n"
                    "[Type00]\nName=\x01\nMoveType=1\nFile.1024x0768=a.bmp\n");
    EXPECT_EQ(readStartStyle(), 1);
    EXPECT_EQ(readPowerSaveSettings().maximumSeconds, 300);
    read(0);
    EXPECT_FALSE(lastResult);
}

TEST_F(CatalogueTest, TypeNeedsNameAndMoveType) {
    catalogue.write("[Type00]\nName=\nMoveType=2\nFile.1024x0768=a\n"
                    "[Type01]\nName=No move\nFile.1024x0768=a\n"
                    "[Type02]\nName=Marker\nMoveType=305419896\nFile.1024x0768=a\n"
                    "[Type03]\nName=Letters\nMoveType=abc\nFile.1024x0768=a\n"
                    "[Type07]\nName=Seven\nMoveType=-2\nFile.1024x0768=a\n");
    TypeSettings settings = read(0);
    EXPECT_TRUE(lastResult) << "an empty name is still a name";
    EXPECT_STREQ(settings.name, "");
    EXPECT_EQ(settings.moveType, 2);
    read(1);
    EXPECT_FALSE(lastResult);
    read(2);
    EXPECT_FALSE(lastResult);
    settings = read(3);
    EXPECT_TRUE(lastResult);
    EXPECT_EQ(settings.moveType, 0);
    settings = read(7);
    EXPECT_TRUE(lastResult) << "section Type07";
    EXPECT_EQ(settings.moveType, -2) << "passed on as read";
}

TEST_F(CatalogueTest, ScreenFileKeyComesFirstThenTheReferenceLayout) {
    catalogue.write("[Type05]\nName=Five\nMoveType=1\n"
                    "File.0800x0600=small.bmp,s.bmp\nFile.1024x0768=ref.bmp,r.bmp\n"
                    "[Type06]\nName=Six\nMoveType=1\nFile.1280x1024=big.bmp\n");
    TypeSettings settings = read(5, 800, 600);
    ASSERT_TRUE(lastResult);
    EXPECT_STREQ(settings.fileSpec, "small.bmp,s.bmp");
    EXPECT_FALSE(settings.scaledFromReference);

    settings = read(5, 1920, 1080);
    ASSERT_TRUE(lastResult);
    EXPECT_STREQ(settings.fileSpec, "ref.bmp,r.bmp");
    EXPECT_TRUE(settings.scaledFromReference);

    settings = read(5, 1024, 768);
    EXPECT_FALSE(settings.scaledFromReference) << "the screen's own key is the reference";

    read(6, 800, 600);
    EXPECT_FALSE(lastResult) << "neither the screen's key nor the reference";
    settings = read(6, 800, 600, TypePartMotionWhilePowerSave);
    EXPECT_TRUE(lastResult) << "the dialog lists types without a file for the screen";
    EXPECT_STREQ(settings.name, "Six");
}

TEST_F(CatalogueTest, MotionWhilePowerSaveAndSkipFlagAreValidated) {
    struct Case {
        const char* lines;
        int motion;
        bool skip;
    } cases[] = {{"", 1, true},
                 {"MotionWhilePowerSave=3\nSkipIfReqFixedPos=0\n", 1, false},
                 {"MotionWhilePowerSave=2\nSkipIfReqFixedPos=5\n", 2, true},
                 {"MotionWhilePowerSave=0\n", 0, true},
                 {"MotionWhilePowerSave=-1\n", -1, true}};
    for (const Case& c : cases) {
        catalogue.write(std::string("[Type00]\nName=N\nMoveType=0\nFile.1024x0768=a\n") + c.lines);
        TypeSettings settings = read(0);
        ASSERT_TRUE(lastResult);
        EXPECT_EQ(settings.motionWhilePowerSave, c.motion) << c.lines;
        EXPECT_EQ(settings.skipIfReqFixedPos, c.skip) << c.lines;
    }
}

TEST_F(CatalogueTest, LongValuesAreCutToTheirFields) {
    std::string longName(300, 'n');
    std::string longSpec(1500, 's');
    catalogue.write("[Type00]\nName=" + longName + "\nMoveType=0\nFile.1024x0768=" + longSpec +
                    "\n");
    TypeSettings settings;
    std::memset(&settings, 0x5A, sizeof settings);
    ASSERT_TRUE(readTypeSettings(0, 1024, 768, TypePartsAll, settings));
    EXPECT_EQ(std::string(settings.name), longName.substr(0, 99));
    EXPECT_EQ(std::string(settings.fileSpec), longSpec.substr(0, 999));
    EXPECT_EQ(settings.moveType, 0) << "the field after the name is intact";
}

TEST_F(CatalogueTest, ResourcePathMustNameAnExistingFolder) {
    TempFolder pictures;
    CreateDirectoryA(pictures.file("art").c_str(), nullptr);
    pictures.writeFile("file.txt", "x");
    SetEnvironmentVariableA("ORVIK_TEST_PICTURES", pictures.path().c_str());

    catalogue.write("[General]\nResourcePath=%ORVIK_TEST_PICTURES%\\art\n");
    char folder[kPathCapacity];
    resourceFolder(folder, sizeof folder);
    EXPECT_EQ(folder, pictures.file("art")) << "expanded, exactly as written";

    catalogue.write("[General]\nResourcePath=%ORVIK_TEST_PICTURES%\\art\\\n");
    resourceFolder(folder, sizeof folder);
    EXPECT_EQ(folder, pictures.file("art") + "\\");

    for (const char* path :
         {"%ORVIK_TEST_PICTURES%\\file.txt", "%ORVIK_TEST_PICTURES%\\none", ""}) {
        catalogue.write(std::string("[General]\nResourcePath=") + path + "\n");
        resourceFolder(folder, sizeof folder);
        EXPECT_EQ(folder, catalogue.folder()) << path;
    }

    catalogue.write("[Type00]\nName=N\nMoveType=0\nFile.1024x0768=a\n"
                    "[General]\nResourcePath=%ORVIK_TEST_PICTURES%\\art\n");
    TypeSettings settings{};
    ASSERT_TRUE(readTypeSettings(0, 1024, 768, TypePartsAll, settings));
    EXPECT_EQ(settings.resourceFolder, pictures.file("art"));
}

TEST_F(CatalogueTest, CatalogueIsReadAfreshOnEveryCall) {
    catalogue.write("[General]\nScrStartStyle=2\n");
    EXPECT_EQ(readStartStyle(), 2);
    catalogue.write("[General]\nScrStartStyle=3\n");
    EXPECT_EQ(readStartStyle(), 3);
}
