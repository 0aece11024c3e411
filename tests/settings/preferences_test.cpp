#include "platform/registry_key.h"
#include "settings/preferences.h"
#include "tests/support/registry_guard.h"

#include <gtest/gtest.h>

namespace {

class PreferencesTest : public testing::Test {
  protected:
    // Removes "Software\Tolvane" whole, so that key creation is tested too.
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};

    void setRaw(const char* name, DWORD type, const void* data, DWORD size) {
        setRegistryValue(preferenceKey, name, type, data, size);
    }
};

} // namespace

TEST_F(PreferencesTest, WithoutTheKeyEveryValueIsZero) {
    EXPECT_EQ(loadSelectedType(), 0u);
    EXPECT_EQ(loadWallpaperPolicy(), storedPolicy(WallpaperPolicy::Conditional));
    for (const char* name : {kResumeValue1, kResumeValue2, kResumeValue3, kResumeResolutionValue})
        EXPECT_EQ(readPreference(name), 0u) << name;
}

TEST_F(PreferencesTest, FirstWriteCreatesTheKeyAndStoresADword) {
    saveSelectedType(42);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    ASSERT_TRUE(writePreference(kResumeValue2, static_cast<std::uint32_t>(-640)));
    EXPECT_EQ(loadSelectedType(), 42u);
    EXPECT_EQ(loadWallpaperPolicy(), storedPolicy(WallpaperPolicy::Always));
    EXPECT_EQ(static_cast<std::int32_t>(readPreference(kResumeValue2)), -640);
    DWORD stored = 0;
    EXPECT_TRUE(readRegistryDword(preferenceKey, kSelectedTypeValue, stored))
        << "written as REG_DWORD";
    EXPECT_EQ(stored, 42u);
}

TEST_F(PreferencesTest, TextAndLongRawValuesReadAsZero) {
    setRegistryString(preferenceKey, kSelectedTypeValue, "3");
    EXPECT_EQ(loadSelectedType(), 0u) << "text is not a number";
    setRegistryString(preferenceKey, kSelectedTypeValue, "12345678");
    EXPECT_EQ(loadSelectedType(), 0u);
    const BYTE five[5] = {1, 2, 3, 4, 5};
    setRaw(kWallpaperPolicyValue, REG_BINARY, five, sizeof five);
    EXPECT_EQ(loadWallpaperPolicy(), 0u) << "five bytes do not fit";
}

TEST_F(PreferencesTest, ShortRawValuesAreTheLowOrderBytes) {
    const BYTE one[1] = {0x07};
    const BYTE three[3] = {0x78, 0x56, 0x34};
    const BYTE four[4] = {0x01, 0x00, 0x00, 0x80};
    setRaw(kResumeValue1, REG_BINARY, one, sizeof one);
    setRaw(kResumeValue2, REG_BINARY, three, sizeof three);
    setRaw(kResumeValue3, REG_BINARY, four, sizeof four);
    EXPECT_EQ(readPreference(kResumeValue1), 0x07u);
    EXPECT_EQ(readPreference(kResumeValue2), 0x345678u);
    EXPECT_EQ(readPreference(kResumeValue3), 0x80000001u);
}

TEST_F(PreferencesTest, ResetClearsTheResumeValuesButNotTheResolution) {
    writePreference(kResumeValue1, 11);
    writePreference(kResumeValue2, 22);
    writePreference(kResumeValue3, 33);
    writePreference(kResumeResolutionValue, resumeResolution(1024, 768));
    resetSavedPosition();
    EXPECT_EQ(readPreference(kResumeValue1), 0u);
    EXPECT_EQ(readPreference(kResumeValue2), 0u);
    EXPECT_EQ(readPreference(kResumeValue3), 0u);
    EXPECT_EQ(readPreference(kResumeResolutionValue), 0x03000400u);
}

TEST(ResumeResolution, KeepsTheLow16BitsOfEachSide) {
    EXPECT_EQ(resumeResolution(1920, 1080), (1080u << 16) | 1920u);
    EXPECT_EQ(resumeResolution(0x12345, 0x10001), (1u << 16) | 0x2345u);
}
