#include "tests/host/e2e_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/host/user_input.h"
#include "tests/support/wait_for.h"

void SaverEndToEndTest::SetUp() {
    install.writeStandardCatalogue();
    ownWallpaper = ownWallpaperFile();
    DeleteFileA(ownWallpaper.c_str());
    // The mouse rests in the middle of the screen, well away from every edge.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    waitUntilNoPictureIsShown();
}

void SaverEndToEndTest::TearDown() {
    DeleteFileA(ownWallpaper.c_str());
}

int SaverEndToEndTest::currentView() {
    return viewColumnOfRow(readScreenRow(10));
}

int SaverEndToEndTest::waitForSettledView(const SaverProcess& run, bool* fadeSeen, DWORD boundMs) {
    int view = -1;
    waitFor(
        [&] {
            std::vector<COLORREF> row = readScreenRow(10);
            view = viewColumnOfRow(row);
            // On the way from the old screen (black here) to the picture (blue 0x80).
            if (fadeSeen && view < 0 && !row.empty() && GetBValue(row[0]) > 0 &&
                GetBValue(row[0]) < 0x80)
                *fadeSeen = true;
            return view >= 0 || !run.running();
        },
        boundMs);
    return view;
}

void SaverEndToEndTest::waitUntilNoPictureIsShown() {
    waitFor([this] { return currentView() < 0; }, 20000);
}

bool SaverEndToEndTest::waitUntilForeground(HWND window, DWORD boundMs) {
    return waitFor([window] { return GetForegroundWindow() == window; }, boundMs);
}

std::vector<TestWindow::HelpRequest>& TestWindow::helpRequests() {
    static std::vector<HelpRequest> requests;
    return requests;
}

namespace {

LRESULT CALLBACK recordHelp(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HELP && message != WM_CONTEXTMENU)
        return DefWindowProcA(window, message, wParam, lParam);
    TestWindow::HelpRequest request{message, wParam, lParam, {}};
    if (message == WM_HELP && lParam)
        request.helpPoint = reinterpret_cast<const HELPINFO*>(lParam)->MousePos;
    TestWindow::helpRequests().push_back(request);
    return 1;
}

} // namespace

TestWindow::TestWindow(int x, int y, int width, int height) {
    static const bool registered = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = recordHelp;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "OrvikTestWindow";
        return RegisterClassA(&windowClass) != 0;
    }();
    if (registered)
        window_ = CreateWindowExA(0, "OrvikTestWindow", "Display Properties",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow() {
    destroy();
}

void TestWindow::destroy() {
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    window_ = nullptr;
}
