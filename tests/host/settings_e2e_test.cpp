#include "tests/host/e2e_fixture.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

#include <vector>

namespace {

using SettingsRun = SaverEndToEndTest;

constexpr int kTypeList = 1004;
constexpr int kPolicyConditional = 1005;
constexpr int kPolicyNever = 1006;
constexpr int kPolicyAlways = 1007;

// The list's texts, asked for in UTF-16: Wine hands an ANSI caller in another process
// only the first character of each.
std::vector<std::string> listedTypes(HWND dialog) {
    HWND list = GetDlgItem(dialog, kTypeList);
    std::vector<std::string> names;
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[256] = {};
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 256)
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        char name[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
        names.push_back(name);
    }
    return names;
}

void click(HWND dialog, int control) {
    SendMessageA(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

bool hasPreference(const char* name) {
    DWORD value = 0;
    return readRegistryDword(kPreferenceKey, name, value);
}

DWORD preference(const char* name) {
    return registryDwordOrMarker(kPreferenceKey, name);
}

} // namespace

TEST_F(SettingsRun, NoSwitchListsTheCatalogueAndCancelWritesNothing) {
    SaverProcess run(install.program(), "\"" + install.program() + "\"");
    HWND dialog = run.waitForWindowTitled("Settings");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    std::vector<std::string> expected(std::begin(kStandardTypeNames), std::end(kStandardTypeNames));
    EXPECT_EQ(listedTypes(dialog), expected);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kPolicyConditional), BST_CHECKED);

    SendMessageA(GetDlgItem(dialog, kTypeList), CB_SETCURSEL, 2, 0);
    click(dialog, kPolicyAlways);
    click(dialog, IDCANCEL);
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), static_cast<DWORD>(IDCANCEL));
    EXPECT_FALSE(hasPreference("lTypeNo"));
    EXPECT_FALSE(hasPreference("bwpBuildWp"));
}

TEST_F(SettingsRun, OkStoresTheChoicesAndTheGivenWindowOwnsTheDialog) {
    for (const char* name : {"lBuildWpValue1", "lBuildWpValue2", "lBuildWpValue3"}) {
        DWORD old = 77;
        setRegistryValue(kPreferenceKey, name, REG_DWORD, &old, sizeof old);
    }
    TestWindow owner(50, 50, 300, 200);
    SaverProcess run(install.program(), install.quotedCommand("/c:" + decimal(owner.get())));
    HWND dialog = run.waitForWindowTitled("Settings");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.get());

    SendMessageA(GetDlgItem(dialog, kTypeList), CB_SETCURSEL, 1, 0);
    click(dialog, kPolicyNever);
    click(dialog, IDOK);
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), static_cast<DWORD>(IDOK));
    EXPECT_EQ(preference("lTypeNo"), static_cast<DWORD>(kStandardTypeNumbers[1]));
    EXPECT_EQ(preference("bwpBuildWp"), 1u);
    EXPECT_EQ(preference("lBuildWpValue1"), 0u);
    EXPECT_EQ(preference("lBuildWpValue2"), 0u);
    EXPECT_EQ(preference("lBuildWpValue3"), 0u);
}

TEST_F(SettingsRun, SettingsSwitchWithoutAnOwnerIsOwnedByTheForegroundWindow) {
    TestWindow foreground(50, 50, 300, 200);
    for (const char* tail : {"/c", "-C 1234", "/c:0"}) {
        SCOPED_TRACE(tail);
        SetForegroundWindow(foreground.get());
        ASSERT_TRUE(waitUntilForeground(foreground.get()));
        SaverProcess run(install.program(), install.quotedCommand(tail));
        HWND dialog = run.waitForWindowTitled("Settings");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), foreground.get());
        click(dialog, IDCANCEL);
        ASSERT_TRUE(run.waitForExit());
        EXPECT_EQ(run.exitCode(), static_cast<DWORD>(IDCANCEL));
    }
}
