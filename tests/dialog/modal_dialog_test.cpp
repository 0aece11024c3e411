#include "dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "settings/preferences.h"
#include "tests/support/registry_guard.h"
#include "tests/support/test_catalogue.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// The dialog run modally as the host runs it, driven from a second thread the way a user
// would: keys to the focused control, the close box.

namespace {

HWND findSettingsDialog(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM result) -> BOOL {
            char className[16] = "";
            char title[32] = "";
            GetClassNameA(window, className, sizeof className);
            GetWindowTextA(window, title, sizeof title);
            if (std::string(className) == "#32770" && std::string(title) == "Settings" &&
                IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs the dialog on this thread while user() acts on it from another. user() gets the
// dialog and its thread's focused control.
INT_PTR runWith(HWND owner, std::function<void(HWND dialog, HWND focus)> user,
                HWND* seenOwner = nullptr) {
    DWORD thread = GetCurrentThreadId();
    std::thread helper([&] {
        HWND dialog = nullptr;
        for (int wait = 0; wait < 1000 && !dialog; ++wait) { // 10 s at most
            dialog = findSettingsDialog(thread);
            if (!dialog)
                Sleep(10);
        }
        if (!dialog) {
            // Not found as expected: end whatever dialog the thread shows, so that the
            // test fails on its end code instead of waiting for ever.
            EnumThreadWindows(
                thread,
                [](HWND window, LPARAM) -> BOOL {
                    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    return TRUE;
                },
                0);
            return;
        }
        if (seenOwner)
            *seenOwner = GetWindow(dialog, GW_OWNER);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread, &info);
        user(dialog, info.hwndFocus ? info.hwndFocus : dialog);
    });
    INT_PTR result = runSettingsDialog(GetModuleHandleA(nullptr), owner);
    helper.join();
    return result;
}

void pressKey(HWND focus, WPARAM key) {
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

class ModalDialogTest : public testing::Test {
  protected:
    TestCatalogue catalogue;
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};

    void SetUp() override {
        catalogue.write("[Type00]\nName=One\nMoveType=0\n[Type04]\nName=Two\nMoveType=1\n");
    }
    static bool stored(const char* name, DWORD& value) {
        return readRegistryDword(preferenceKey, name, value);
    }
};

} // namespace

TEST_F(ModalDialogTest, EnterEndsWithOkAndStoresTheChoice) {
    INT_PTR result = runWith(nullptr, [](HWND dialog, HWND focus) {
        SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_SETCURSEL, 1, 0);
        pressKey(focus, VK_RETURN);
    });
    ASSERT_EQ(result, IDOK);
    DWORD type = 0;
    ASSERT_TRUE(stored(kSelectedTypeValue, type));
    EXPECT_EQ(type, 4u);
}

TEST_F(ModalDialogTest, EscapeEndsWithCancelAndStoresNothing) {
    INT_PTR result = runWith(nullptr, [](HWND dialog, HWND focus) {
        SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(dialog, IDC_POLICY_NEVER, BM_CLICK, 0, 0);
        pressKey(focus, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    DWORD value = 0;
    EXPECT_FALSE(stored(kSelectedTypeValue, value));
    EXPECT_FALSE(stored(kWallpaperPolicyValue, value));
}

TEST_F(ModalDialogTest, CloseBoxEndsWithCancel) {
    INT_PTR result = runWith(
        nullptr, [](HWND dialog, HWND) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(ModalDialogTest, DialogBelongsToTheGivenOwner) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    HWND seen = nullptr;
    INT_PTR result = runWith(
        owner,
        [](HWND dialog, HWND) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        },
        &seen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(seen, owner);
    DestroyWindow(owner);

    result = runWith(
        nullptr,
        [](HWND dialog, HWND) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        },
        &seen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(seen, nullptr);
}

TEST_F(ModalDialogTest, ModuleWithoutTheTemplateGivesMinusOne) {
    EXPECT_EQ(runSettingsDialog(GetModuleHandleA("kernel32.dll"), nullptr), -1);
}
