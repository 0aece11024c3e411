#include "host/saver_window.h"
#include "animator/screen_picture.h"
#include "host/message_layers.h"
#include "host/saver_modes.h"
#include "host/window_cloak.h"
#include "platform/gdi_handles.h"
#include "resources/resource_ids.h"

SaverWindowLayout fullScreenLayout() {
    RECT clip = {};
    {
        WindowDC screen(nullptr);
        if (screen)
            GetClipBox(screen.get(), &clip);
    }
    // Made hidden and shown once the screen is copied (openSaverWindow).
    return {WS_EX_TOPMOST,
            kFullScreenTitle,
            WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
            clip.left,
            clip.top,
            clip.right - clip.left,
            clip.bottom - clip.top,
            nullptr};
}

SaverWindowLayout previewLayout(HWND parent) {
    RECT client = {};
    GetClientRect(parent, &client);
    return {0,
            kPreviewTitle,
            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
            0,
            0,
            client.right,
            client.bottom,
            parent};
}

bool registerSaverClass(HINSTANCE instance) {
    WNDCLASSA saverClass = {};
    saverClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    saverClass.lpfnWndProc = hostWindowProc;
    saverClass.hInstance = instance;
    saverClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SAVER));
    saverClass.hCursor = nullptr;
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = kSaverClassName;
    return RegisterClassA(&saverClass) != 0;
}

HWND createSaverWindow(HINSTANCE instance, const SaverWindowLayout& layout) {
    return CreateWindowExA(layout.exStyle, kSaverClassName, layout.title, layout.style, layout.x,
                           layout.y, layout.width, layout.height, layout.parent, nullptr, instance,
                           nullptr);
}

HWND openSaverWindow(HINSTANCE instance, const SaverWindowLayout& layout) {
    HWND window = createSaverWindow(instance, layout);
    if (!window || (layout.style & WS_VISIBLE))
        return window;
    // The start-up transition begins from what the screen shows, copied before the window
    // covers it: under desktop composition the window's own surface is not the screen.
    const RECT area = {layout.x, layout.y, layout.x + layout.width, layout.y + layout.height};
    keepStartPicture(copyOfScreen(area));
    // Kept from the compositor until its first erase has put that picture on it.
    setWindowCloaked(window, true);
    ShowWindow(window, SW_SHOW);
    return window;
}

int runMessageLoop() {
    MSG message = {};
    BOOL result;
    // GetMessage's -1 is a failure, not a message: looping on it would never end.
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return messageLoopExitCode(result, message);
}

int messageLoopExitCode(BOOL lastResult, const MSG& lastMessage) {
    if (lastResult != 0)
        return kMessageLoopFailedExitCode;
    return static_cast<int>(lastMessage.wParam);
}
