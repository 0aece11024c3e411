#include "tests/dialog/settings_dialog_window.h"
#include "dialog/settings_dialog.h"
#include "resources/resource_ids.h"

SettingsDialogWindow::SettingsDialogWindow(HWND owner) {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                 settingsDialogProc, 0);
}

SettingsDialogWindow::~SettingsDialogWindow() {
    if (dialog_)
        DestroyWindow(dialog_);
    pumpMessages();
}

void SettingsDialogWindow::show() const {
    ShowWindow(dialog_, SW_SHOWNORMAL);
    UpdateWindow(dialog_);
    pumpMessages();
}

RECT SettingsDialogWindow::mapped(int x, int y, int width, int height) const {
    // Position and size are converted each on its own, as the dialog manager does; the
    // right edge is not the converted x + width.
    RECT units{x, y, width, height};
    MapDialogRect(dialog_, &units);
    return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
}

RECT SettingsDialogWindow::placeOf(int id) const {
    RECT rect{};
    GetWindowRect(item(id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string SettingsDialogWindow::text(int id) const {
    char buffer[512] = "";
    GetDlgItemTextA(dialog_, id, buffer, sizeof buffer);
    return buffer;
}

void SettingsDialogWindow::selectListEntry(int index) const {
    SendDlgItemMessageA(dialog_, IDC_TYPE_LIST, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SettingsDialogWindow::click(int id) const {
    SendDlgItemMessageA(dialog_, id, BM_CLICK, 0, 0);
    pumpMessages();
}

void SettingsDialogWindow::command(int id) const {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(id)));
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int width(const RECT& rect) {
    return rect.right - rect.left;
}
int height(const RECT& rect) {
    return rect.bottom - rect.top;
}
