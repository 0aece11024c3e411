#include "animator/screen_picture.h"
#include "platform/gdi_handles.h"

std::unique_ptr<OffscreenSurface> copyOfScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    WindowDC screen(nullptr);
    if (!screen)
        return nullptr;
    auto picture = std::make_unique<OffscreenSurface>(screen.get(), width, height);
    if (!*picture || !BitBlt(picture->dc(), 0, 0, width, height, screen.get(), area.left, area.top,
                             SRCCOPY | CAPTUREBLT))
        return nullptr;
    return picture;
}
