#include "dialog/logo_button.h"
#include "platform/gdi_handles.h"
#include "platform/icon_handle.h"
#include "resources/resource_ids.h"

// Width and height of an icon's picture.
static SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return SIZE{};
    BitmapHandle colour(info.hbmColor);
    BitmapHandle mask(info.hbmMask);
    BITMAP bitmap{};
    if (colour) {
        if (GetObjectA(colour.get(), sizeof bitmap, &bitmap))
            return SIZE{bitmap.bmWidth, bitmap.bmHeight};
    } else if (mask && GetObjectA(mask.get(), sizeof bitmap, &bitmap)) {
        // A monochrome icon keeps its AND and XOR halves one above the other.
        return SIZE{bitmap.bmWidth, bitmap.bmHeight / 2};
    }
    return SIZE{};
}

void drawLogoButton(HWND dialog, const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;

    // Drawn off-screen and copied at once, so that the face never flickers.
    MemoryDC memory(item.hDC);
    BitmapHandle surface(CreateCompatibleBitmap(item.hDC, width, height));
    if (!memory || !surface)
        return;
    SelectedObject selection(memory.get(), surface.get());

    auto background = reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(item.hDC),
                     reinterpret_cast<LPARAM>(item.hwndItem)));
    if (!background)
        background = GetSysColorBrush(COLOR_BTNFACE);
    RECT local{0, 0, width, height};
    FillRect(memory.get(), &local, background);

    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    IconHandle logo(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_LOGO), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    if (logo) {
        SIZE size = iconSize(logo.get());
        DrawIconEx(memory.get(), width - size.cx, (height - size.cy) / 2, logo.get(), size.cx,
                   size.cy, 0, nullptr, DI_NORMAL);
    }
    BitBlt(item.hDC, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
}
