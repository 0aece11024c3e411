#include "tests/host/e2e_fixture.h"
#include "tests/host/user_input.h"
#include "tests/support/help_request.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

namespace {

using PreviewRun = SaverEndToEndTest;

// The preview must cover exactly the parent's client area.
void expectFillsClientArea(HWND preview, HWND parent) {
    EXPECT_EQ(windowText(preview), "Preview");
    EXPECT_EQ(GetParent(preview), parent);
    EXPECT_TRUE(GetWindowLongA(preview, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(preview));
    RECT client = {};
    GetClientRect(parent, &client);
    RECT rect = {};
    GetWindowRect(preview, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(EqualRect(&rect, &client))
        << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
}

} // namespace

TEST_F(PreviewRun, PreviewFillsTheParentIgnoresInputAndEndsWithIt) {
    TestWindow parent(120, 90, 420, 330);
    ASSERT_NE(parent.get(), nullptr);
    SaverProcess run(install.program(), install.quotedCommand("/p " + decimal(parent.get())));
    HWND preview = run.waitForSaverWindow(parent.get());
    ASSERT_NE(preview, nullptr);
    expectFillsClientArea(preview, parent.get());

    // Help asked of the little picture goes to the page that shows it.
    helpRequests().clear();
    HELPINFO help = {sizeof help, HELPINFO_WINDOW, 0, preview, 0, {210, 160}};
    EXPECT_EQ(SendMessageA(preview, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
    EXPECT_EQ(SendMessageA(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview),
                           MAKELPARAM(200, 150)),
              1);
    ASSERT_TRUE(waitFor([] { return helpRequests().size() >= 2; }, 10000));
    EXPECT_EQ(helpRequests()[0].message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(helpRequests()[0].wParam, reinterpret_cast<WPARAM>(parent.get()));
    EXPECT_EQ(helpRequests()[0].helpPoint.x, 210);
    EXPECT_EQ(helpRequests()[0].helpPoint.y, 160);
    EXPECT_EQ(helpRequests()[1].message, static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_EQ(helpRequests()[1].wParam, reinterpret_cast<WPARAM>(parent.get()));
    EXPECT_EQ(helpRequests()[1].lParam, MAKELPARAM(200, 150));

    RECT rect = {};
    GetWindowRect(preview, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    moveMouseBy(6, 6);
    clickLeftButton();
    pressKeys({'A', VK_SPACE, VK_ESCAPE});
    // A closed preview would lose its window at once and its process soon after.
    idleFor(3000);
    EXPECT_TRUE(run.running()) << "input closed the preview";
    EXPECT_TRUE(IsWindow(preview));

    parent.destroy();
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
}

TEST_F(PreviewRun, PreviewWithoutAUsableWindowIsRefused) {
    TestWindow parent(120, 90, 420, 330);
    HWND gone = nullptr;
    {
        TestWindow destroyed(10, 10, 100, 100);
        gone = destroyed.get();
    }
    for (const std::string& tail : {std::string("/p"), std::string("/p 0"), std::string("/p abc"),
                                    "/p:" + decimal(parent.get()), "/p " + decimal(gone)}) {
        SCOPED_TRACE(tail);
        SaverProcess run(install.program(), install.quotedCommand(tail));
        ASSERT_NO_FATAL_FAILURE(expectEndsWithoutAWindow(run, 0xFFFFFFFFu));
        EXPECT_EQ(run.saverWindow(parent.get()), nullptr);
    }
}

TEST_F(PreviewRun, KilledPreviewLeavesNothingThatBreaksTheNextRun) {
    TestWindow parent(120, 90, 420, 330);
    {
        SaverProcess killed(install.program(),
                            install.quotedCommand("/p " + decimal(parent.get())));
        ASSERT_NE(killed.waitForSaverWindow(parent.get()), nullptr);
        killed.kill();
        EXPECT_TRUE(waitFor([&] { return !killed.running(); }, 10000));
    }
    EXPECT_TRUE(waitFor(
        [&] {
            return FindWindowExA(parent.get(), nullptr, "WindowsScreenSaverClass", nullptr) ==
                   nullptr;
        },
        15000));

    SaverProcess next(install.program(), install.quotedCommand("/p " + decimal(parent.get())));
    HWND preview = next.waitForSaverWindow(parent.get());
    ASSERT_NE(preview, nullptr);
    expectFillsClientArea(preview, parent.get());
    parent.destroy();
    ASSERT_TRUE(next.waitForExit());
    EXPECT_EQ(next.exitCode(), 0u);
}
