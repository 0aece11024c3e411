#include "tests/host/saver_window_fixture.h"
#include "host/message_layers.h"

namespace {

const char* const kParentClass = "OrvikTestSettingsPage";

LRESULT CALLBACK recordHelp(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HELP && message != WM_CONTEXTMENU)
        return DefWindowProcA(window, message, wParam, lParam);
    SaverWindowTest::HelpRequest request{message, wParam, lParam, InSendMessage() != FALSE, {}};
    if (message == WM_HELP && lParam)
        request.helpPoint = reinterpret_cast<const HELPINFO*>(lParam)->MousePos;
    SaverWindowTest::helpRequests().push_back(request);
    return 1;
}

LRESULT CALLBACK recordCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        SystemCommandRecorder::commands().push_back(wParam);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

std::vector<SaverWindowTest::HelpRequest>& SaverWindowTest::helpRequests() {
    static std::vector<HelpRequest> requests;
    return requests;
}

void SaverWindowTest::SetUp() {
    host = SaverHost{};
    host.instance = instance;
    helpRequests().clear();
    ASSERT_TRUE(registerSaverClass(instance));
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = recordHelp;
    parentClass.hInstance = instance;
    parentClass.lpszClassName = kParentClass;
    RegisterClassA(&parentClass);
}

void SaverWindowTest::TearDown() {
    if (window && IsWindow(window))
        DestroyWindow(window);
    if (parent && IsWindow(parent))
        DestroyWindow(parent);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA(kSaverClassName, instance);
    UnregisterClassA(kParentClass, instance);
    host = SaverHost{};
}

HWND SaverWindowTest::makeFullScreen() {
    window = createSaverWindow(instance, fullScreenLayout());
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
    parent = CreateWindowExA(0, kParentClass, "Display", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             width, height, nullptr, nullptr, instance, nullptr);
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
