#include "dialog/logo_button.h"
#include "dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "tests/dialog/settings_dialog_window.h"
#include "tests/support/dib_surface.h"
#include "tests/support/registry_guard.h"
#include "tests/support/test_catalogue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const COLORREF kSentinel = RGB(255, 0, 255); // magenta: nothing drawn here

// What the design asks for: the dialog's face, the 72 x 32 logo at the right edge,
// centred from top to bottom (integer division toward zero).
std::vector<COLORREF> expectedFace(int width, int height) {
    DibSurface reference(width, height, GetSysColor(COLOR_3DFACE));
    auto logo = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LOGO),
                                              IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    DrawIconEx(reference.dc(), width - 72, (height - 32) / 2, logo, 72, 32, 0, nullptr, DI_NORMAL);
    DestroyIcon(logo);
    return reference.pixels();
}

DRAWITEMSTRUCT drawItem(HWND button, HDC dc, int width, int height, UINT state = 0) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = RECT{0, 0, width, height};
    return item;
}

class LogoButtonTest : public testing::Test {
  protected:
    TestCatalogue catalogue;
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
};

} // namespace

TEST_F(LogoButtonTest, LogoIsRightAlignedAndCentredOverTheDialogsFace) {
    SettingsDialogWindow dialog;
    ASSERT_NE(dialog.get(), nullptr);
    HWND button = dialog.item(IDC_LOGO_BUTTON);
    struct Size {
        int width, height;
    } sizes[] = {{100, 40}, {96, 39}, {90, 35}, {72, 32}, {80, 25}};
    for (Size size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        std::vector<COLORREF> expected = expectedFace(size.width, size.height);
        // The reference really shows a logo, and only in its right 72 columns.
        const COLORREF face = GetSysColor(COLOR_3DFACE);
        int logoPixels = 0;
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                if (expected[y * size.width + x] != face) {
                    ++logoPixels;
                    ASSERT_GE(x, size.width - 72);
                }
        ASSERT_GT(logoPixels, 200);

        DibSurface surface(size.width, size.height, kSentinel);
        drawLogoButton(dialog.get(), drawItem(button, surface.dc(), size.width, size.height));
        EXPECT_EQ(surface.pixels(), expected);
    }
}

TEST_F(LogoButtonTest, StateOfTheButtonDoesNotChangeThePicture) {
    SettingsDialogWindow dialog;
    HWND button = dialog.item(IDC_LOGO_BUTTON);
    std::vector<COLORREF> expected = expectedFace(96, 39);
    for (UINT state : {ODS_SELECTED | ODS_FOCUS, ODS_DISABLED, ODS_GRAYED | ODS_NOACCEL}) {
        DibSurface surface(96, 39, kSentinel);
        drawLogoButton(dialog.get(), drawItem(button, surface.dc(), 96, 39, state));
        EXPECT_EQ(surface.pixels(), expected) << state;
    }
}

TEST_F(LogoButtonTest, DialogDrawsOnlyTheLogoButton) {
    SettingsDialogWindow dialog;
    DibSurface surface(96, 39, kSentinel);
    DRAWITEMSTRUCT other = drawItem(dialog.item(IDOK), surface.dc(), 96, 39);
    EXPECT_FALSE(
        settingsDialogProc(dialog.get(), WM_DRAWITEM, IDOK, reinterpret_cast<LPARAM>(&other)));
    EXPECT_EQ(surface.pixel(0, 0), kSentinel);
    EXPECT_EQ(surface.pixel(95, 38), kSentinel);

    DRAWITEMSTRUCT logo = drawItem(dialog.item(IDC_LOGO_BUTTON), surface.dc(), 96, 39);
    EXPECT_TRUE(settingsDialogProc(dialog.get(), WM_DRAWITEM, IDC_LOGO_BUTTON,
                                   reinterpret_cast<LPARAM>(&logo)));
    EXPECT_EQ(surface.pixels(), expectedFace(96, 39));
}

TEST_F(LogoButtonTest, ShownDialogPaintsTheLogoOnScreen) {
    catalogue.write("[Type00]\nName=One\nMoveType=0\n[Type01]\nName=Two\nMoveType=1\n");
    SettingsDialogWindow dialog;
    dialog.show();
    HWND button = dialog.item(IDC_LOGO_BUTTON);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT area{};
    GetClientRect(button, &area);
    std::vector<COLORREF> expected = expectedFace(width(area), height(area));
    DibSurface screen(width(area), height(area), kSentinel);
    HDC buttonDC = GetDC(button);
    BitBlt(screen.dc(), 0, 0, width(area), height(area), buttonDC, 0, 0, SRCCOPY);
    ReleaseDC(button, buttonDC);
    EXPECT_EQ(screen.pixels(), expected);
}
