#include "dialog/compact_layout.h"
#include "dialog/control_rect.h"
#include "resources/resource_ids.h"

#include <initializer_list>

static void moveUp(HWND dialog, HWND control, int delta) {
    RECT rect = controlClientRect(dialog, control);
    MoveWindow(control, rect.left, rect.top - delta, rect.right - rect.left, rect.bottom - rect.top,
               FALSE);
}

void applyCompactLayout(HWND dialog) {
    HWND label = GetDlgItem(dialog, IDC_TYPE_LABEL);
    HWND list = GetDlgItem(dialog, IDC_TYPE_LIST);
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    HWND logo = GetDlgItem(dialog, IDC_LOGO_BUTTON);
    for (HWND control : {label, list}) {
        EnableWindow(control, FALSE);
        ShowWindow(control, SW_HIDE);
    }
    // Without every control of the template the distances would be meaningless.
    if (!list || !ok || !cancel || !logo)
        return;

    RECT listRect = controlClientRect(dialog, list);
    RECT okRect = controlClientRect(dialog, ok);
    int delta = okRect.top - listRect.top;
    MoveWindow(ok, okRect.left, listRect.top, okRect.right - okRect.left,
               okRect.bottom - okRect.top, FALSE);
    moveUp(dialog, cancel, delta);
    moveUp(dialog, logo, delta);

    RECT window{};
    GetWindowRect(dialog, &window);
    MoveWindow(dialog, window.left, window.top, window.right - window.left,
               window.bottom - window.top - delta, FALSE);
}
