#include "tests/host/saver_process.h"
#include "host/saver_window.h"
#include "tests/support/wait_for.h"

#include <algorithm>

SaverProcess::SaverProcess(const std::string& program, const std::string& commandLine,
                           const std::string& currentFolder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        process_.reset(info.hProcess);
        CloseHandle(info.hThread);
        id_ = info.dwProcessId;
    }
}

SaverProcess::~SaverProcess() {
    if (running())
        kill();
}

bool SaverProcess::running() const {
    return process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool SaverProcess::waitForExit(DWORD boundMs) {
    return waitFor([this] { return !running(); }, boundMs);
}

DWORD SaverProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.valid())
        GetExitCodeProcess(process_.get(), &code);
    return code;
}

void SaverProcess::kill() {
    if (!process_.valid())
        return;
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 10000);
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectSaverClass(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<std::vector<HWND>*>(context);
    if (className(window) == kSaverClassName)
        found->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> SaverProcess::visibleWindows() const {
    WindowSearch search{id_, {}};
    EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SaverProcess::watchWindows() {
    for (HWND window : visibleWindows())
        if (std::find(seen_.begin(), seen_.end(), window) == seen_.end())
            seen_.push_back(window);
}

HWND SaverProcess::saverWindow(HWND parent) const {
    for (HWND window = FindWindowExA(parent, nullptr, kSaverClassName, nullptr); window;
         window = FindWindowExA(parent, window, kSaverClassName, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == id_)
            return window;
    }
    return nullptr;
}

HWND SaverProcess::waitForSaverWindow(HWND parent, DWORD boundMs) {
    // Found during its creation the window is not complete yet; it shows itself last.
    HWND found = nullptr;
    waitFor(
        [&] {
            found = saverWindow(parent);
            return (found && IsWindowVisible(found)) || !running();
        },
        boundMs);
    return found && IsWindowVisible(found) ? found : nullptr;
}

HWND SaverProcess::waitForWindowTitled(const char* title, DWORD boundMs) {
    HWND found = nullptr;
    waitFor(
        [&] {
            for (HWND window : visibleWindows())
                if (windowText(window) == title)
                    found = window;
            return found != nullptr || !running();
        },
        boundMs);
    return found;
}

std::vector<HWND> allSaverWindows() {
    std::vector<HWND> found;
    EnumWindows(collectSaverClass, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string windowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}
