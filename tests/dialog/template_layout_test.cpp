#include "resources/resource_ids.h"
#include "tests/dialog/dialog_template.h"
#include "tests/dialog/settings_dialog_window.h"
#include "tests/support/registry_guard.h"
#include "tests/support/test_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>

// The settings dialog's template as the resource compiler wrote it, and where its
// controls end up in a live dialog.

namespace {

struct ExpectedControl {
    int id;
    const char* className;
    std::uint32_t style;
    std::uint32_t exStyle;
    short x, y, cx, cy;
    const char* text; // nullptr: checked separately
};

// The design's table, in template order.
const ExpectedControl kControls[] = {
    {-1, "static", 0x50000008, 0x1, 4, 5, 249, 51, ""},
    {-1, "static", 0x58020003, 0, 25, 22, 20, 20, nullptr}, // icon 100
    {1010, "static", 0x50020001, 0, 48, 15, 162, 8, "Tolvane Screen Saver"},
    {-1, "static", 0x50020001, 0, 48, 31, 162, 16, nullptr}, // the maker's notice
    {1, "button", 0x50030001, 0, 71, 193, 50, 15, "&OK"},
    {2, "button", 0x50010000, 0, 136, 193, 50, 15, "&Cancel"},
    {1003, "button", 0x5802000B, 0, 189, 192, 64, 24, "Tolvane"},
    {-1, "button", 0x50020007, 0, 4, 66, 249, 100, ""},
    {1005, "button", 0x50032009, 0, 15, 89, 228, 34,
     "Apply the picture that is selected in closing Screen Saver to my wallpaper, if the "
     "current wallpaper is the default at the time of purchase or the one that was applied by "
     "Tolvane Screen Saver. (&D)   [Default]"},
    {1006, "button", 0x50010009, 0, 15, 128, 228, 10,
     "Do not apply the picture of Screen Saver to my wallpaper. (&N)"},
    {1007, "button", 0x50010009, 0, 15, 144, 228, 10,
     "Apply the picture of Screen Saver to my wallpaper without exception. (&F)"},
    {1008, "static", 0x50020002, 0, 35, 174, 29, 8, "&Kinds"},
    {1004, "combobox", 0x50210003, 0, 68, 171, 140, 77, ""},
    {-1, "static", 0x50020000, 0, 13, 63, 199, 23,
     " Settings for applying as is the picture that you select in closing   Screen Saver as "
     "your wallpaper. "},
};

} // namespace

TEST(SettingsTemplate, DialogIsAPopupWithCaptionSettingsInMsUiGothic9) {
    DialogTemplate dialog;
    ASSERT_TRUE(readDialogTemplate(GetModuleHandleA(nullptr), IDD_SETTINGS, dialog));
    EXPECT_EQ(dialog.style, 0x80C80040u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 20);
    EXPECT_EQ(dialog.y, 10);
    EXPECT_EQ(dialog.cx, 259);
    EXPECT_EQ(dialog.cy, 222);
    EXPECT_EQ(dialog.caption, "Settings");
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.typeface, "MS UI Gothic");
    EXPECT_FALSE(dialog.menu.isOrdinal);
    EXPECT_TRUE(dialog.menu.text.empty()) << "no menu";
    EXPECT_FALSE(dialog.windowClass.isOrdinal);
    EXPECT_TRUE(dialog.windowClass.text.empty()) << "the default dialog class";
}

TEST(SettingsTemplate, ControlsFollowTheTableInOrder) {
    DialogTemplate dialog;
    ASSERT_TRUE(readDialogTemplate(GetModuleHandleA(nullptr), IDD_SETTINGS, dialog));
    ASSERT_EQ(dialog.controls.size(), std::size(kControls));
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const ExpectedControl& want = kControls[i];
        const TemplateControl& got = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        if (want.text) {
            EXPECT_FALSE(got.text.isOrdinal);
            EXPECT_EQ(got.text.text, want.text);
        }
    }
    // The icon control shows icon resource 100; the notice is two lines.
    EXPECT_TRUE(dialog.controls[1].text.isOrdinal);
    EXPECT_EQ(dialog.controls[1].text.ordinal, IDI_SAVER);
    const std::string& notice = dialog.controls[3].text.text;
    ASSERT_NE(notice.find('\n'), std::string::npos);
    EXPECT_EQ(notice.find('\n'), notice.rfind('\n')) << "exactly two lines";
    EXPECT_GT(notice.find('\n'), 0u);
    EXPECT_LT(notice.find('\n') + 1, notice.size());
}

TEST(SettingsTemplate, LiveControlsSitAtTheTemplatesPlacesWithTheTemplatesStyles) {
    TestCatalogue catalogue;
    catalogue.write("[Type00]\nName=First\nMoveType=0\n[Type01]\nName=Second\nMoveType=1\n");
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
    SettingsDialogWindow dialog;
    ASSERT_NE(dialog.get(), nullptr);

    RECT client{};
    GetClientRect(dialog.get(), &client);
    RECT whole = dialog.mapped(0, 0, 259, 222);
    EXPECT_EQ(width(client), width(whole));
    EXPECT_EQ(height(client), height(whole));
    char caption[64] = "";
    GetWindowTextA(dialog.get(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Settings");
    // The window styles of the template (the dialog styles in the low word are the
    // platform's to keep or drop).
    auto dialogStyle = static_cast<std::uint32_t>(GetWindowLongA(dialog.get(), GWL_STYLE));
    EXPECT_EQ(dialogStyle & 0xFFFF0000u & ~static_cast<std::uint32_t>(WS_CLIPSIBLINGS),
              0x80C80000u);

    for (const ExpectedControl& want : kControls) {
        if (want.id == -1)
            continue;
        SCOPED_TRACE("id " + std::to_string(want.id));
        HWND control = dialog.item(want.id);
        ASSERT_NE(control, nullptr);
        RECT expected = dialog.mapped(want.x, want.y, want.cx, want.cy);
        RECT actual = dialog.placeOf(want.id);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(width(actual), width(expected));
        if (want.id != IDC_TYPE_LIST) { // a drop-down list is as high as its edit part
            EXPECT_EQ(height(actual), height(expected));
        }
        if (want.id == IDC_TYPE_LIST)
            continue; // a combo box keeps its own version of its style
        auto style = static_cast<std::uint32_t>(GetWindowLongA(control, GWL_STYLE));
        // What the buttons themselves change: the default-button bit moves with the focus,
        // and only the checked radio button of a group keeps its tab stop.
        std::uint32_t stable = 0xFFFFFFFFu;
        if (want.id == IDOK || want.id == IDCANCEL)
            stable &= ~static_cast<std::uint32_t>(BS_DEFPUSHBUTTON);
        if (std::string(want.className) == "button" && (want.style & 0xF) == BS_AUTORADIOBUTTON)
            stable &= ~static_cast<std::uint32_t>(WS_TABSTOP);
        EXPECT_EQ(style & stable, want.style & stable);
    }
}
