#include "tests/dialog/settings_dialog_window.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/registry_guard.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// The dialog at 150 % scaling (144 dots per inch). Wine reads the resolution when a
// process starts, so the layout tests run again in a child process started while the
// registry asks for 144.

namespace {

constexpr char kExpectedDpiVariable[] = "ORVIK_EXPECT_DPI";
constexpr char kBaseSizeVariable[] = "ORVIK_BASE_DIALOG_SIZE";

int screenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The template's 259 x 222 dialog units in pixels at this process's resolution.
SIZE dialogClientSize() {
    SettingsDialogWindow dialog;
    RECT whole = dialog.mapped(0, 0, 259, 222);
    return SIZE{width(whole), height(whole)};
}

DWORD runChild(const std::string& arguments) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string commandLine;
    commandLine.append("\"").append(path).append("\" ").append(arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    DWORD exitCode = 0xFFFFFFFF;
    if (WaitForSingleObject(process.hProcess, 300000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 0xFFFFFFFF);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

} // namespace

TEST(HighDpi, LayoutTestsPassAt150Percent) {
    if (std::getenv(kExpectedDpiVariable))
        GTEST_SKIP() << "already the child";
    ASSERT_EQ(screenDpi(), 96) << "the suite runs at 100 %";
    SIZE base = dialogClientSize();

    ScopedRegistryValues saved(kDesktopKey, {"LogPixels"});
    DWORD dpi = 144;
    setRegistryValue(kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    SetEnvironmentVariableA(kExpectedDpiVariable, "144");
    std::string baseSize = std::to_string(base.cx) + "x" + std::to_string(base.cy);
    SetEnvironmentVariableA(kBaseSizeVariable, baseSize.c_str());
    DWORD exitCode = runChild("--gtest_filter=ScaledDialog.*:SettingsTemplate.*:CompactLayoutTest*:"
                              "LogoButtonTest.*:SettingsDialogTest.*");
    SetEnvironmentVariableA(kExpectedDpiVariable, nullptr);
    SetEnvironmentVariableA(kBaseSizeVariable, nullptr);
    EXPECT_EQ(exitCode, 0u) << "the child's failures are in the output above";
}

TEST(ScaledDialog, DialogGrowsWithTheResolution) {
    const char* expected = std::getenv(kExpectedDpiVariable);
    const char* baseSize = std::getenv(kBaseSizeVariable);
    if (!expected || !baseSize)
        GTEST_SKIP() << "runs in the child process of HighDpi.LayoutTestsPassAt150Percent";
    ASSERT_EQ(screenDpi(), std::atoi(expected)) << "Wine did not take LogPixels";
    int baseWidth = 0, baseHeight = 0;
    ASSERT_EQ(std::sscanf(baseSize, "%dx%d", &baseWidth, &baseHeight), 2);
    SIZE scaled = dialogClientSize();
    // The font, and with it the dialog unit, grows by about half.
    EXPECT_NEAR(scaled.cx, baseWidth * 3 / 2, baseWidth / 10);
    EXPECT_NEAR(scaled.cy, baseHeight * 3 / 2, baseHeight / 10);
    // Still on a 1024 x 768 screen.
    EXPECT_LE(scaled.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(scaled.cy, GetSystemMetrics(SM_CYSCREEN));
}
