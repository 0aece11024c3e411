#include "dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "settings/preferences.h"
#include "tests/dialog/settings_dialog_window.h"
#include "tests/support/registry_guard.h"
#include "tests/support/test_catalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// Types 2, 7 and 40, written out of order; 3 has no MoveType and 5 no Name, so neither is
// a type.
const char kThreeTypes[] = "[General]\nScrStartStyle=1\n"
                           "[Type40]\nName=Drifting Clouds\nMoveType=1\n"
                           "[Type07]\nName=Mountain Clock\nMoveType=3\n"
                           "[Type03]\nName=Half a Type\n"
                           "[Type02]\nName=Harbour Lights\nMoveType=0\n"
                           "[Type05]\nMoveType=2\n";

class SettingsDialogTest : public testing::Test {
  protected:
    TestCatalogue catalogue;
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};

    static void store(const char* name, std::uint32_t value) { writePreference(name, value); }

    // The stored value, or nothing when the dialog never wrote it.
    static std::optional<DWORD> stored(const char* name) {
        DWORD value = 0;
        if (!readRegistryDword(preferenceKey, name, value))
            return std::nullopt;
        return value;
    }

    static void storeResumeValues() {
        store(kResumeValue1, 11);
        store(kResumeValue2, 22);
        store(kResumeValue3, 33);
        store(kResumeResolutionValue, resumeResolution(1024, 768));
    }
    static void expectResumeValues(DWORD v1, DWORD v2, DWORD v3) {
        EXPECT_EQ(stored(kResumeValue1), v1);
        EXPECT_EQ(stored(kResumeValue2), v2);
        EXPECT_EQ(stored(kResumeValue3), v3);
        EXPECT_EQ(stored(kResumeResolutionValue), resumeResolution(1024, 768))
            << "the screen size stays";
    }

    static std::vector<std::string> listNames(const SettingsDialogWindow& dialog) {
        std::vector<std::string> names;
        LRESULT count = SendDlgItemMessageA(dialog.get(), IDC_TYPE_LIST, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char name[128] = "";
            SendDlgItemMessageA(dialog.get(), IDC_TYPE_LIST, CB_GETLBTEXT, i,
                                reinterpret_cast<LPARAM>(name));
            names.push_back(name);
        }
        return names;
    }
    static std::vector<LRESULT> listData(const SettingsDialogWindow& dialog) {
        std::vector<LRESULT> data;
        LRESULT count = SendDlgItemMessageA(dialog.get(), IDC_TYPE_LIST, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
            data.push_back(SendDlgItemMessageA(dialog.get(), IDC_TYPE_LIST, CB_GETITEMDATA, i, 0));
        return data;
    }
    static LRESULT selection(const SettingsDialogWindow& dialog) {
        return SendDlgItemMessageA(dialog.get(), IDC_TYPE_LIST, CB_GETCURSEL, 0, 0);
    }
    static int checkedPolicy(const SettingsDialogWindow& dialog) {
        int checked = 0;
        for (int id : {IDC_POLICY_CONDITIONAL, IDC_POLICY_NEVER, IDC_POLICY_ALWAYS})
            if (IsDlgButtonChecked(dialog.get(), id) == BST_CHECKED)
                checked = checked ? -1 : id; // -1: more than one
        return checked;
    }
};

} // namespace

TEST_F(SettingsDialogTest, ListsTheCataloguesTypesInNumberOrderWithTheirNumbers) {
    catalogue.write(kThreeTypes);
    store(kSelectedTypeValue, 40);
    SettingsDialogWindow dialog;
    ASSERT_NE(dialog.get(), nullptr);
    EXPECT_EQ(listNames(dialog),
              (std::vector<std::string>{"Harbour Lights", "Mountain Clock", "Drifting Clouds"}));
    EXPECT_EQ(listData(dialog), (std::vector<LRESULT>{2, 7, 40}));
    EXPECT_EQ(selection(dialog), 2) << "the stored type";
    EXPECT_TRUE(IsWindowEnabled(dialog.item(IDC_TYPE_LIST)));
    EXPECT_TRUE(GetWindowLongA(dialog.item(IDC_TYPE_LIST), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(SettingsDialogTest, TitleCarriesTheProgramsFileVersion) {
    catalogue.write(kThreeTypes);
    SettingsDialogWindow dialog;
    EXPECT_EQ(dialog.text(IDC_TITLE), "Tolvane Screen Saver V2.0.0.2");
}

TEST_F(SettingsDialogTest, StoredTypeThatIsNotListedShowsTheFirstAndOkKeepsTheStoredNumber) {
    catalogue.write(kThreeTypes);
    store(kSelectedTypeValue, 3); // a section without MoveType
    storeResumeValues();
    SettingsDialogWindow dialog;
    EXPECT_EQ(selection(dialog), 0);
    dialog.command(IDOK);
    EXPECT_EQ(stored(kSelectedTypeValue), 3u) << "the type shown was not changed";
    EXPECT_EQ(stored(kWallpaperPolicyValue), std::nullopt);
    expectResumeValues(11, 22, 33);
}

TEST_F(SettingsDialogTest, RadioButtonFollowsTheStoredPolicy) {
    catalogue.write(kThreeTypes);
    struct Case {
        std::optional<std::uint32_t> policy;
        int button;
    } cases[] = {{std::nullopt, IDC_POLICY_CONDITIONAL},
                 {0, IDC_POLICY_CONDITIONAL},
                 {1, IDC_POLICY_NEVER},
                 {2, IDC_POLICY_ALWAYS},
                 {3, IDC_POLICY_ALWAYS},
                 {0xFFFFFFFF, IDC_POLICY_ALWAYS}};
    for (const Case& c : cases) {
        deleteRegistryValue(preferenceKey, kWallpaperPolicyValue);
        if (c.policy)
            store(kWallpaperPolicyValue, *c.policy);
        SettingsDialogWindow dialog;
        EXPECT_EQ(checkedPolicy(dialog), c.button) << (c.policy ? *c.policy : 99u);
    }
}

TEST_F(SettingsDialogTest, OkWithNothingChangedWritesNothing) {
    catalogue.write(kThreeTypes);
    storeResumeValues();
    SettingsDialogWindow dialog;
    dialog.show();
    dialog.command(IDOK);
    EXPECT_FALSE(IsWindowVisible(dialog.get())) << "the dialog ended";
    EXPECT_EQ(stored(kSelectedTypeValue), std::nullopt);
    EXPECT_EQ(stored(kWallpaperPolicyValue), std::nullopt);
    expectResumeValues(11, 22, 33);
}

TEST_F(SettingsDialogTest, OkWithOnlyTheTypeChangedWritesTheTypeAndClearsThePosition) {
    catalogue.write(kThreeTypes);
    store(kSelectedTypeValue, 2);
    storeResumeValues();
    SettingsDialogWindow dialog;
    dialog.show();
    dialog.selectListEntry(1);
    dialog.command(IDOK);
    EXPECT_EQ(stored(kSelectedTypeValue), 7u);
    EXPECT_EQ(stored(kWallpaperPolicyValue), std::nullopt);
    expectResumeValues(0, 0, 0);
}

TEST_F(SettingsDialogTest, OkWithOnlyThePolicyChangedWritesThePolicyAndClearsThePosition) {
    catalogue.write(kThreeTypes);
    storeResumeValues();
    SettingsDialogWindow dialog;
    dialog.show();
    dialog.click(IDC_POLICY_NEVER);
    ASSERT_EQ(checkedPolicy(dialog), IDC_POLICY_NEVER);
    dialog.command(IDOK);
    EXPECT_EQ(stored(kWallpaperPolicyValue), storedPolicy(WallpaperPolicy::Never));
    EXPECT_EQ(stored(kSelectedTypeValue), std::nullopt);
    expectResumeValues(0, 0, 0);
}

TEST_F(SettingsDialogTest, OkWithBothChangedWritesBoth) {
    catalogue.write(kThreeTypes);
    store(kWallpaperPolicyValue, storedPolicy(WallpaperPolicy::Always));
    storeResumeValues();
    SettingsDialogWindow dialog;
    dialog.show();
    dialog.selectListEntry(2);
    dialog.click(IDC_POLICY_CONDITIONAL);
    dialog.command(IDOK);
    EXPECT_EQ(stored(kSelectedTypeValue), 40u);
    EXPECT_EQ(stored(kWallpaperPolicyValue), storedPolicy(WallpaperPolicy::Conditional));
    expectResumeValues(0, 0, 0);
}

TEST_F(SettingsDialogTest, StoredPolicyOutsideTheThreeBecomesAlwaysOnOk) {
    catalogue.write(kThreeTypes);
    store(kWallpaperPolicyValue, 3);
    storeResumeValues();
    SettingsDialogWindow dialog;
    dialog.command(IDOK);
    EXPECT_EQ(stored(kWallpaperPolicyValue), storedPolicy(WallpaperPolicy::Always));
    EXPECT_EQ(stored(kSelectedTypeValue), std::nullopt);
    expectResumeValues(0, 0, 0);
}

TEST_F(SettingsDialogTest, CancelWritesNothingWhateverChanged) {
    catalogue.write(kThreeTypes);
    storeResumeValues();
    SettingsDialogWindow dialog;
    dialog.show();
    dialog.selectListEntry(2);
    dialog.click(IDC_POLICY_ALWAYS);
    dialog.command(IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(dialog.get())) << "the dialog ended";
    EXPECT_EQ(stored(kSelectedTypeValue), std::nullopt);
    EXPECT_EQ(stored(kWallpaperPolicyValue), std::nullopt);
    expectResumeValues(11, 22, 33);
}

TEST_F(SettingsDialogTest, EmptyListStoresNoTypeButAChangedPolicy) {
    catalogue.remove();
    store(kSelectedTypeValue, 9);
    SettingsDialogWindow dialog;
    dialog.show();
    EXPECT_EQ(SendDlgItemMessageA(dialog.get(), IDC_TYPE_LIST, CB_GETCOUNT, 0, 0), 0);
    dialog.click(IDC_POLICY_ALWAYS);
    dialog.command(IDOK);
    EXPECT_EQ(stored(kSelectedTypeValue), 9u);
    EXPECT_EQ(stored(kWallpaperPolicyValue), storedPolicy(WallpaperPolicy::Always));
}

TEST_F(SettingsDialogTest, OnlyOkCancelAndTheLogosDrawingAreAnswered) {
    catalogue.write(kThreeTypes);
    SettingsDialogWindow dialog;
    dialog.show();
    HWND logo = dialog.item(IDC_LOGO_BUTTON);
    EXPECT_FALSE(IsWindowEnabled(logo)) << "the logo answers no click";
    EXPECT_FALSE(settingsDialogProc(dialog.get(), WM_COMMAND, MAKEWPARAM(IDC_LOGO_BUTTON, 0),
                                    reinterpret_cast<LPARAM>(logo)));
    EXPECT_FALSE(
        settingsDialogProc(dialog.get(), WM_COMMAND, MAKEWPARAM(IDC_TYPE_LIST, CBN_SELCHANGE), 0));
    EXPECT_FALSE(settingsDialogProc(dialog.get(), WM_TIMER, 1, 0));
    EXPECT_TRUE(IsWindowVisible(dialog.get())) << "still open";
    EXPECT_EQ(stored(kSelectedTypeValue), std::nullopt);
    EXPECT_EQ(stored(kWallpaperPolicyValue), std::nullopt);
    // The notification code is not looked at.
    EXPECT_TRUE(settingsDialogProc(dialog.get(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234), 0));
    EXPECT_FALSE(IsWindowVisible(dialog.get()));
}

TEST_F(SettingsDialogTest, DialogClassCarriesTheProgramIconInBothSizes) {
    catalogue.write(kThreeTypes);
    for (int opening = 0; opening < 2; ++opening) {
        SettingsDialogWindow dialog;
        struct Case {
            int index, size;
        } cases[] = {{GCLP_HICON, 32}, {GCLP_HICONSM, 16}};
        for (const Case& c : cases) {
            auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(dialog.get(), c.index));
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info)) << c.index;
            BITMAP bitmap{};
            GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, c.size);
            EXPECT_EQ(bitmap.bmHeight, c.size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
}
