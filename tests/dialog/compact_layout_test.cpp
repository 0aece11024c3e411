#include "dialog/control_rect.h"
#include "resources/resource_ids.h"
#include "tests/dialog/settings_dialog_window.h"
#include "tests/support/registry_guard.h"
#include "tests/support/test_catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CompactLayoutTest : public testing::TestWithParam<const char*> {
  protected:
    TestCatalogue catalogue;
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
};

// Where a full dialog puts its window; the compact one starts from the same place.
RECT fullDialogWindow() {
    SettingsDialogWindow full;
    RECT window{};
    GetWindowRect(full.get(), &window);
    return window;
}

} // namespace

TEST_P(CompactLayoutTest, ListGoesAndTheButtonsMoveUpByTheListsDistanceFromOk) {
    catalogue.write("[Type00]\nName=One\nMoveType=0\n[Type01]\nName=Two\nMoveType=1\n");
    RECT fullWindow = fullDialogWindow();

    catalogue.write(GetParam());
    SettingsDialogWindow dialog;
    ASSERT_NE(dialog.get(), nullptr);
    for (int id : {IDC_TYPE_LIST, IDC_TYPE_LABEL}) {
        EXPECT_FALSE(GetWindowLongA(dialog.item(id), GWL_STYLE) & WS_VISIBLE) << id;
        EXPECT_FALSE(IsWindowEnabled(dialog.item(id))) << id;
    }

    // Template rows in pixels: the list's top and OK's top.
    RECT list = dialog.mapped(68, 171, 140, 77);
    RECT ok = dialog.mapped(71, 193, 50, 15);
    int delta = ok.top - list.top;
    ASSERT_GT(delta, 0);

    RECT movedOk = dialog.placeOf(IDOK);
    EXPECT_EQ(movedOk.left, ok.left);
    EXPECT_EQ(movedOk.top, list.top);
    EXPECT_EQ(width(movedOk), width(ok));
    EXPECT_EQ(height(movedOk), height(ok));
    struct Moved {
        int id, x, y, cx, cy;
    } moved[] = {{IDCANCEL, 136, 193, 50, 15}, {IDC_LOGO_BUTTON, 189, 192, 64, 24}};
    for (const Moved& m : moved) {
        RECT before = dialog.mapped(m.x, m.y, m.cx, m.cy);
        RECT after = dialog.placeOf(m.id);
        EXPECT_EQ(after.left, before.left) << m.id;
        EXPECT_EQ(after.top, before.top - delta) << m.id;
        EXPECT_EQ(width(after), width(before)) << m.id;
        EXPECT_EQ(height(after), height(before)) << m.id;
    }
    // The rest stays where the template puts it.
    EXPECT_EQ(dialog.placeOf(IDC_POLICY_ALWAYS).top, dialog.mapped(15, 144, 228, 10).top);
    EXPECT_EQ(dialog.placeOf(IDC_TITLE).top, dialog.mapped(48, 15, 162, 8).top);

    RECT window{};
    GetWindowRect(dialog.get(), &window);
    EXPECT_EQ(window.left, fullWindow.left);
    EXPECT_EQ(window.top, fullWindow.top);
    EXPECT_EQ(width(window), width(fullWindow));
    EXPECT_EQ(height(window), height(fullWindow) - delta);
    RECT client{};
    GetClientRect(dialog.get(), &client);
    EXPECT_EQ(height(client), height(dialog.mapped(0, 0, 259, 222)) - delta);
}

INSTANTIATE_TEST_SUITE_P(AtMostOneType, CompactLayoutTest,
                         testing::Values("[Type42]\nName=Only One\nMoveType=2\n",
                                         "[General]\nScrStartStyle=0\n"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? std::string("OneType")
                                                    : std::string("NoType");
                         });

TEST(ControlClientRect, IsTheWindowRectangleInTheParentsClientCoordinates) {
    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 137, 91, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    HWND child = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "child", WS_CHILD | WS_VISIBLE, 13, 17,
                                 40, 21, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    RECT rect = controlClientRect(parent, child);
    EXPECT_EQ(rect.left, 13);
    EXPECT_EQ(rect.top, 17);
    EXPECT_EQ(rect.right, 53);
    EXPECT_EQ(rect.bottom, 38);
    DestroyWindow(parent);
}
