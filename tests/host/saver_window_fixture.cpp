#include "tests/host/saver_window_fixture.h"
#include "host/message_layers.h"
#include "tests/support/help_request.h"

namespace {

LRESULT CALLBACK recordCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        SystemCommandRecorder::commands().push_back(wParam);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void SaverWindowTest::SetUp() {
    host = SaverHost{};
    host.instance = instance;
    helpRequests().clear();
    ASSERT_TRUE(registerSaverClass(instance));
}

void SaverWindowTest::TearDown() {
    if (window && IsWindow(window))
        DestroyWindow(window);
    page_.reset();
    if (parent && IsWindow(parent))
        DestroyWindow(parent);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA(kSaverClassName, instance);
    host = SaverHost{};
}

HWND SaverWindowTest::makeFullScreen() {
    window = openSaverWindow(instance, fullScreenLayout());
    host.saverWindow = window;
    return window;
}

HWND SaverWindowTest::makePreview(HWND parentWindow) {
    host.preview = true;
    window = createSaverWindow(instance, previewLayout(parentWindow));
    host.saverWindow = window;
    return window;
}

HWND SaverWindowTest::makeParent(int width, int height) {
    page_ = std::make_unique<TestWindow>(0, 0, width, height);
    parent = page_->get();
    return parent;
}

bool SaverWindowTest::closeRequested() {
    bool requested = false;
    MSG message;
    while (PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        requested = true;
    return requested;
}

void SaverWindowTest::pumpOtherMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, WM_CLOSE - 1, PM_REMOVE) ||
           PeekMessageA(&message, nullptr, WM_CLOSE + 1, 0xFFFFFFFF, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

SystemCommandRecorder::SystemCommandRecorder()
    : hook_(SetWindowsHookExA(WH_CBT, recordCbt, nullptr, GetCurrentThreadId())) {
    commands().clear();
}

SystemCommandRecorder::~SystemCommandRecorder() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

std::vector<WPARAM>& SystemCommandRecorder::commands() {
    static std::vector<WPARAM> recorded;
    return recorded;
}
