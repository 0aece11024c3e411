#include "dialog/control_rect.h"

RECT controlClientRect(HWND dialog, HWND control) {
    RECT rect{};
    if (!GetWindowRect(control, &rect))
        return RECT{};
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    ScreenToClient(dialog, &topLeft);
    ScreenToClient(dialog, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}
