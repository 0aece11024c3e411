#include "host/message_layers.h"
#include "host/saver_modes.h"
#include "raster/offscreen_surface.h"
#include "tests/host/saver_window_fixture.h"
#include "tests/support/dib_surface.h"
#include "tests/support/help_request.h"

#include <functional>
#include <vector>

namespace {

// An in-process stand-in for the Windows 9x password verifier.
struct ScriptedVerifier {
    std::vector<BOOL> answers;
    std::vector<HWND> calls;
    std::function<void(HWND)> whilePrompting;
};
ScriptedVerifier verifier;

BOOL WINAPI scriptedVerify(HWND window) {
    std::size_t call = verifier.calls.size();
    verifier.calls.push_back(window);
    if (verifier.whilePrompting)
        verifier.whilePrompting(window);
    return call < verifier.answers.size() ? verifier.answers[call] : verifier.answers.back();
}

void useVerifier(SaverHost& host, std::vector<BOOL> answers) {
    verifier = ScriptedVerifier{std::move(answers), {}, {}};
    host.isWin9x = true;
    host.verifyPasswordFn = scriptedVerify;
}

const char* nameOf(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
        return "WM_KEYDOWN";
    case WM_SYSKEYDOWN:
        return "WM_SYSKEYDOWN";
    case WM_LBUTTONDOWN:
        return "WM_LBUTTONDOWN";
    case WM_RBUTTONDOWN:
        return "WM_RBUTTONDOWN";
    case WM_MBUTTONDOWN:
        return "WM_MBUTTONDOWN";
    case WM_ACTIVATEAPP:
        return "WM_ACTIVATEAPP";
    case WM_POWER:
        return "WM_POWER";
    case WM_POWERBROADCAST:
        return "WM_POWERBROADCAST";
    case WM_MOUSEMOVE:
        return "WM_MOUSEMOVE";
    default:
        return "other";
    }
}

struct InputCase {
    UINT message;
    WPARAM wParam;
    bool closesFullScreen;
};

const InputCase kInputCases[] = {
    {WM_KEYDOWN, 'A', true},
    {WM_SYSKEYDOWN, VK_SHIFT, true},
    {WM_LBUTTONDOWN, MK_LBUTTON, true},
    {WM_RBUTTONDOWN, MK_RBUTTON, true},
    {WM_MBUTTONDOWN, MK_MBUTTON, true},
    {WM_ACTIVATEAPP, FALSE, true},
    {WM_ACTIVATEAPP, TRUE, false},
    {WM_POWER, PWR_CRITICALRESUME, true},
    {WM_POWER, PWR_SUSPENDRESUME, false},
    {WM_POWERBROADCAST, PBT_APMSUSPEND, true},
    {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true},
    {WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, false},
    {WM_KEYUP, 'A', false},
    {WM_LBUTTONUP, 0, false},
    {WM_CHAR, 'a', false},
};

} // namespace

TEST_F(SaverWindowTest, KeysButtonsDeactivationAndPowerEventsCloseTheFullScreenSaver) {
    ASSERT_NE(makeFullScreen(), nullptr);
    closeRequested();
    for (const InputCase& input : kInputCases) {
        send(input.message, input.wParam);
        EXPECT_EQ(closeRequested(), input.closesFullScreen)
            << nameOf(input.message) << " " << input.wParam;
    }
    EXPECT_EQ(send(WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE), 0);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(SaverWindowTest, NothingButTheAutoPlayQueryClosesThePreview) {
    ASSERT_NE(makeParent(400, 300), nullptr);
    ASSERT_NE(makePreview(parent), nullptr);
    closeRequested();
    POINT start = {};
    GetCursorPos(&start);
    SetCursorPos(start.x + 40, start.y + 40);
    for (const InputCase& input : kInputCases) {
        send(input.message, input.wParam);
        EXPECT_FALSE(closeRequested()) << nameOf(input.message) << " " << input.wParam;
    }
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeRequested()) << "a mouse move closed the preview";
    SetCursorPos(start.x, start.y);
}

TEST_F(SaverWindowTest, MouseMustMoveMoreThanFourPixelsFromTheCursorsStartingPoint) {
    SetCursorPos(400, 300);
    ASSERT_NE(makeFullScreen(), nullptr);
    closeRequested();
    EXPECT_EQ(host.cursorReference.x, 400);
    EXPECT_EQ(host.cursorReference.y, 300);

    // The message's own coordinates do not count: only the cursor does.
    send(WM_MOUSEMOVE, 0, MAKELPARAM(900, 700));
    EXPECT_FALSE(closeRequested()) << "a move message without a move closed the saver";
    SetCursorPos(403, 301);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeRequested()) << "3 right and 1 down";
    SetCursorPos(397, 299);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeRequested()) << "3 left and 1 up";
    SetCursorPos(403, 302);
    send(WM_MOUSEMOVE);
    EXPECT_TRUE(closeRequested()) << "3 right and 2 down";
    EXPECT_EQ(host.cursorReference.x, 403);
    EXPECT_EQ(host.cursorReference.y, 302);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeRequested()) << "the reference did not follow the cursor";
    SetCursorPos(398, 302);
    send(WM_MOUSEMOVE);
    EXPECT_TRUE(closeRequested()) << "5 left of the new reference";
}

TEST_F(SaverWindowTest, CursorStaysHiddenAndTheTitleCannotChange) {
    ASSERT_NE(makeFullScreen(), nullptr);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, 0)), 1);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    SetWindowTextA(window, "Something else");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");
}

// The input method's windows would show over the saver: its window has no input context
// (where an ordinary window has one).
TEST_F(SaverWindowTest, TheInputMethodIsKeptAwayFromTheSaverWindow) {
    ASSERT_NE(makeParent(200, 100), nullptr);
    HIMC ordinary = ImmGetContext(parent);
    EXPECT_NE(ordinary, nullptr) << "an ordinary window has an input context";
    ImmReleaseContext(parent, ordinary);
    ASSERT_NE(makeFullScreen(), nullptr);
    HIMC saver = ImmGetContext(window);
    EXPECT_EQ(saver, nullptr);
    ImmReleaseContext(window, saver);
}

TEST_F(SaverWindowTest, TaskSwitchCommandsStopAtTheFullScreenSaver) {
    SystemCommandRecorder recorder;
    ASSERT_NE(makeFullScreen(), nullptr);
    for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE, SC_SCREENSAVE | 2})
        EXPECT_EQ(send(WM_SYSCOMMAND, command), 0);
    EXPECT_TRUE(SystemCommandRecorder::commands().empty());
    // Other commands go on to the default handling (which the recorder stops).
    send(WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_EQ(SystemCommandRecorder::commands(), std::vector<WPARAM>{SC_MAXIMIZE});
}

TEST_F(SaverWindowTest, TaskSwitchCommandsPassThroughThePreview) {
    SystemCommandRecorder recorder;
    ASSERT_NE(makeParent(400, 300), nullptr);
    ASSERT_NE(makePreview(parent), nullptr);
    for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE})
        send(WM_SYSCOMMAND, command);
    EXPECT_EQ(SystemCommandRecorder::commands(),
              (std::vector<WPARAM>{SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE}));
}

TEST_F(SaverWindowTest, PreviewHandsHelpRequestsToTheSettingsPage) {
    ASSERT_NE(makeParent(400, 300), nullptr);
    ASSERT_NE(makePreview(parent), nullptr);
    pumpOtherMessages();
    helpRequests().clear();

    HELPINFO help = {sizeof help, HELPINFO_WINDOW, 0, window, 0, {150, 120}};
    EXPECT_EQ(send(WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
    ASSERT_EQ(helpRequests().size(), 1u) << "help did not reach the page";
    EXPECT_EQ(helpRequests()[0].message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(helpRequests()[0].wParam, reinterpret_cast<WPARAM>(parent));
    EXPECT_EQ(helpRequests()[0].helpPoint.x, 150);
    EXPECT_EQ(helpRequests()[0].helpPoint.y, 120);

    EXPECT_EQ(send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(150, 120)), 1);
    pumpOtherMessages();
    ASSERT_EQ(helpRequests().size(), 2u);
    const HelpRequest& menu = helpRequests()[1];
    EXPECT_EQ(menu.message, static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_FALSE(menu.sent) << "the context menu request is posted, not sent";
    EXPECT_EQ(menu.wParam, reinterpret_cast<WPARAM>(parent));
    EXPECT_EQ(menu.lParam, MAKELPARAM(150, 120));
}

TEST_F(SaverWindowTest, EveryBackgroundEraseIsAnsweredButOnlyTheFirstStartsTheAnimator) {
    ASSERT_NE(makeFullScreen(), nullptr);
    HDC dc = GetDC(window);
    EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), 1);
    Animator* first = currentAnimator();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), 1);
    EXPECT_EQ(currentAnimator(), first);
    ReleaseDC(window, dc);
    send(WM_CLOSE);
    EXPECT_EQ(currentAnimator(), nullptr);
    EXPECT_FALSE(IsWindow(window)) << "outside the 9x family a close needs no password";
}

// Under composition the window shows only what is drawn into its own surface: its first
// erase puts the screen's picture there, before any of the type's pictures are loaded.
TEST_F(SaverWindowTest, TheFirstErasePaintsTheScreensPictureBeforeAnythingLoads) {
    window = createSaverWindow(instance, fullScreenLayout());
    host.saverWindow = window;
    ASSERT_NE(window, nullptr);
    RECT area = {};
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Upside down or mirrored, it would not match.
    const auto colourAt = [&](int x, int y) {
        return y < height / 3  ? RGB(200, 30, 30)
               : x < width / 4 ? RGB(30, 200, 30)
                               : RGB(20, 20, 90);
    };
    DibSurface screen(width, height);
    screen.paint(colourAt);
    auto picture = std::make_unique<OffscreenSurface>(screen.dc(), width, height);
    ASSERT_TRUE(*picture);
    BitBlt(picture->dc(), 0, 0, width, height, screen.dc(), 0, 0, SRCCOPY);
    keepStartPicture(std::move(picture));

    DibSurface surface(width, height, RGB(255, 0, 255)); // what a new surface holds
    EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc())), 1);
    EXPECT_NE(currentAnimator(), nullptr);
    for (POINT at : {POINT{0, 0}, POINT{width - 1, height / 3 - 1}, POINT{0, height - 1},
                     POINT{width / 4, height / 3}, POINT{width - 1, height - 1}})
        EXPECT_EQ(surface.pixel(at.x, at.y), colourAt(at.x, at.y)) << at.x << "," << at.y;
    send(WM_CLOSE);
}

TEST_F(SaverWindowTest, AutoPlayQueryClosesAndAnswersWhetherAPasswordGuardsTheSaver) {
    host.autoPlayMessage = RegisterWindowMessageA("QueryCancelAutoPlay");
    ASSERT_NE(makeFullScreen(), nullptr);
    closeRequested();
    EXPECT_EQ(send(host.autoPlayMessage), 0);
    EXPECT_TRUE(closeRequested());
    useVerifier(host, {FALSE});
    EXPECT_EQ(send(host.autoPlayMessage), 1);
    EXPECT_TRUE(closeRequested());
    host.closeAccepted = true;
    EXPECT_EQ(send(host.autoPlayMessage), 1);
    EXPECT_TRUE(closeRequested());
    EXPECT_TRUE(verifier.calls.empty());
}

TEST_F(SaverWindowTest, AutoPlayQueryClosesThePreviewToo) {
    ASSERT_NE(makeParent(400, 300), nullptr);
    host.autoPlayMessage = RegisterWindowMessageA("QueryCancelAutoPlay");
    ASSERT_NE(makePreview(parent), nullptr);
    closeRequested();
    EXPECT_EQ(send(host.autoPlayMessage), 0);
    EXPECT_TRUE(closeRequested());
}

TEST_F(SaverWindowTest, RefusedPasswordKeepsTheSaverAndACloseWithin200MsAsksNoAgain) {
    SetCursorPos(500, 400);
    useVerifier(host, {FALSE, TRUE});
    ASSERT_NE(makeFullScreen(), nullptr);
    SetCursorPos(520, 410);

    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(verifier.calls, std::vector<HWND>{window});
    EXPECT_FALSE(host.closeAccepted);
    EXPECT_EQ(host.cursorReference.x, 520) << "the reference was not renewed after a refusal";
    EXPECT_EQ(host.cursorReference.y, 410);

    host.lastVerifyEnd = GetTickCount() - 150;
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_EQ(verifier.calls.size(), 1u) << "prompted again 150 ms after a refusal";
    EXPECT_TRUE(IsWindow(window));

    host.lastVerifyEnd = GetTickCount() - 250;
    send(WM_CLOSE);
    EXPECT_EQ(verifier.calls.size(), 2u) << "not prompted 250 ms after a refusal";
    EXPECT_TRUE(host.closeAccepted);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, InputDuringThePasswordPromptPostsNoClose) {
    useVerifier(host, {FALSE});
    ASSERT_NE(makeFullScreen(), nullptr);
    closeRequested();
    bool verifyingSeen = false;
    bool closePostedDuringPrompt = false;
    LRESULT nestedClose = -1;
    verifier.whilePrompting = [&](HWND saver) {
        verifyingSeen = host.verifying;
        POINT cursor = {};
        GetCursorPos(&cursor);
        SetCursorPos(cursor.x + 50, cursor.y);
        for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_ACTIVATEAPP})
            SendMessageA(saver, message, 0, 0);
        MSG queued;
        closePostedDuringPrompt = PeekMessageA(&queued, saver, WM_CLOSE, WM_CLOSE, PM_NOREMOVE);
        nestedClose = SendMessageA(saver, WM_CLOSE, 0, 0);
        SetCursorPos(cursor.x, cursor.y);
    };
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(verifyingSeen);
    EXPECT_FALSE(closePostedDuringPrompt);
    EXPECT_EQ(nestedClose, 0);
    EXPECT_EQ(verifier.calls.size(), 1u);
    EXPECT_FALSE(host.verifying);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(SaverWindowTest, Windows9xCloseWithoutAVerifierIsAcceptedAtOnce) {
    host.isWin9x = true;
    ASSERT_NE(makeFullScreen(), nullptr);
    EXPECT_EQ(send(kVerifyPasswordMessage), 1);
    send(WM_CLOSE);
    EXPECT_TRUE(host.closeAccepted);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, AcceptedCloseLeavesInputAndTimersToTheDefaultHandling) {
    ASSERT_NE(makeFullScreen(), nullptr);
    closeRequested();
    host.closeAccepted = true;
    for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_SYSKEYDOWN})
        send(message, message == WM_SYSKEYDOWN ? VK_SHIFT : 0);
    SetCursorPos(10, 10);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeRequested());
    EXPECT_EQ(send(WM_TIMER, 1), 0);
}

TEST_F(SaverWindowTest, RunWithoutASaverWindowEndsWithMinusOneAndNoLoop) {
    // The class is taken already (by this test), so the run cannot register its own.
    ASSERT_NE(makeParent(400, 300), nullptr);
    EXPECT_EQ(runSaver(parent), -1);
    EXPECT_EQ(FindWindowExA(parent, nullptr, kSaverClassName, nullptr), nullptr);
    EXPECT_EQ(runSaver(nullptr), -1);
    EXPECT_EQ(FindWindowA(kSaverClassName, nullptr), nullptr);
}
