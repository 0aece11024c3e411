#include "animator/animator.h"
#include "host/message_layers.h"
#include "host/saver_host.h"

#include <memory>
#include <new>

namespace {

std::unique_ptr<Animator>& animatorSlot() {
    static std::unique_ptr<Animator> animator;
    return animator;
}

// Set while an Animator is being built: a message sent to the window meanwhile must not
// start a second one.
bool buildingAnimator = false;

void startAnimator(HWND window) {
    const SaverHost& host = saverHost();
    // A window made for full screen is full screen whatever the monitors: on several, it
    // covers all of them and differs from the desktop window, which is the primary's. A
    // preview inside a parent as large as the screen is still a preview.
    const bool fullScreen = !host.preview;
    buildingAnimator = true;
    animatorSlot().reset(new (std::nothrow) Animator(host.instance, window, fullScreen));
    buildingAnimator = false;
}

void closeAnimator() {
    std::unique_ptr<Animator>& animator = animatorSlot();
    if (!animator)
        return;
    animator->handOffWallpaper();
    animator.reset();
}

void followMonitorPower(LPARAM state) {
    Animator* animator = animatorSlot().get();
    if (!animator)
        return;
    if (state == 2) // off
        animator->setPaused(true);
    else if (state != 1) // not low power: on
        animator->setPaused(false);
}

} // namespace

Animator* currentAnimator() {
    return animatorSlot().get();
}

LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        // No task-bar or task-switch entry for the saver.
        LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
        SetWindowLongA(window, GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
        const SaverHost& host = saverHost();
        if (host.associateContextFn)
            host.associateContextFn(window, nullptr);
        break;
    }
    case WM_CLOSE:
    case WM_DESTROY:
        closeAnimator();
        break;
    case WM_ERASEBKGND:
        if (Animator* animator = animatorSlot().get())
            animator->requestRepaint();
        else if (!buildingAnimator)
            startAnimator(window);
        return 1;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MONITORPOWER)
            followMonitorPower(lParam);
        break;
    case WM_POWERBROADCAST:
        // A change of the power source is no reason to close.
        if (wParam == PBT_APMPOWERSTATUSCHANGE)
            return 0;
        break;
    default:
        break;
    }
    return defaultSaverProc(window, message, wParam, lParam);
}
