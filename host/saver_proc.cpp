#include "animator/animator.h"
#include "host/display_power.h"
#include "host/message_layers.h"
#include "host/saver_host.h"
#include "host/saver_window.h"
#include "host/session_notice.h"
#include "host/window_cloak.h"
#include "platform/gdi_handles.h"
#include "raster/offscreen_surface.h"

#include <memory>
#include <new>

namespace {

std::unique_ptr<Animator>& animatorSlot() {
    static std::unique_ptr<Animator> animator;
    return animator;
}

std::unique_ptr<OffscreenSurface>& startPictureSlot() {
    static std::unique_ptr<OffscreenSurface> picture;
    return picture;
}

// The full-screen window's display-power notifications, from its creation to its end.
std::unique_ptr<DisplayPowerNotice>& displayPowerSlot() {
    static std::unique_ptr<DisplayPowerNotice> notice;
    return notice;
}

// The full-screen window's session notifications, likewise.
std::unique_ptr<SessionNotice>& sessionSlot() {
    static std::unique_ptr<SessionNotice> notice;
    return notice;
}

// Set while an Animator is being built: a message sent to the window meanwhile must not
// start a second one.
bool buildingAnimator = false;
// What the system last said of the display: the first notice comes at once after the
// registration, before any Animator exists, and a display that is off already at the
// start must pause the Animator made later.
bool displayOff = false;
SessionVisibility session;

// Nobody can see the picture: the display is off, or the session is locked or away.
bool unseen() {
    return displayOff || !session.visible();
}

void followVisibility() {
    if (Animator* animator = animatorSlot().get())
        animator->setPaused(unseen());
}

// A display that changes while the saver runs (a monitor added or removed, another size
// or primary) or a preview whose parent was resized: the Animator is made anew for the
// new layout once the changes have settled, since a dock brings its monitors one by one.
constexpr UINT_PTR kRebuildTimer = 0x4F52;
constexpr UINT kRebuildSettleMs = 300;
// A preview is not told when its parent changes size: it looks now and then.
constexpr UINT_PTR kParentWatchTimer = 0x4F53;
constexpr UINT kParentWatchMs = 500;
bool rebuildPending = false;
// The client size that the Animator was made for.
SIZE builtFor = {0, 0};
// Set while the window is moved for a rebuild: the move's own WM_SIZE asks for nothing.
bool placingWindow = false;

void scheduleRebuild(HWND window) {
    rebuildPending = true;
    SetTimer(window, kRebuildTimer, kRebuildSettleMs, nullptr);
}

// The cursor may have moved with the monitors: that is no reason to close.
void forgetCursorMoves() {
    POINT now = {};
    if (GetCursorPos(&now))
        saverHost().cursorReference = now;
}

void startAnimator(HWND window, AnimatorStart start = AnimatorStart::Fresh);

// The window over the whole new screen (or its parent's client area), and a new Animator
// for it without a hand-off, straight into its loop.
void rebuildAnimator(HWND window) {
    KillTimer(window, kRebuildTimer);
    rebuildPending = false;
    if (!animatorSlot())
        return; // none yet: the first one is made for the layout of its time
    placingWindow = true;
    if (!saverHost().preview) {
        const SaverWindowLayout layout = fullScreenLayout();
        SetWindowPos(window, HWND_TOPMOST, layout.x, layout.y, layout.width, layout.height,
                     SWP_NOACTIVATE);
    } else if (HWND parent = GetParent(window)) {
        RECT client = {};
        GetClientRect(parent, &client);
        SetWindowPos(window, nullptr, 0, 0, client.right, client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    placingWindow = false;
    forgetCursorMoves();
    // One still loading for the old layout stops at its next picture.
    Animator::discard(std::move(animatorSlot()));
    startAnimator(window, AnimatorStart::Rebuilt);
}

void followParent(HWND window) {
    HWND parent = GetParent(window);
    RECT parentClient = {};
    RECT client = {};
    if (!parent || !GetClientRect(parent, &parentClient) || !GetClientRect(window, &client))
        return;
    if (parentClient.right != client.right || parentClient.bottom != client.bottom)
        scheduleRebuild(window);
}

void startAnimator(HWND window, AnimatorStart start) {
    const SaverHost& host = saverHost();
    // A window made for full screen is full screen whatever the monitors: on several, it
    // covers all of them and differs from the desktop window, which is the primary's. A
    // preview inside a parent as large as the screen is still a preview.
    const bool fullScreen = !host.preview;
    buildingAnimator = true;
    RECT client = {};
    GetClientRect(window, &client);
    builtFor = {client.right, client.bottom};
    animatorSlot().reset(new (std::nothrow) Animator(host.instance, window, fullScreen,
                                                     std::move(startPictureSlot()), start));
    buildingAnimator = false;
    if (unseen() && animatorSlot())
        animatorSlot()->setPaused(true);
}

// Under desktop composition the window shows its own surface from its first erase on:
// the screen's picture goes there at once, before any picture is loaded (no render thread
// shares the window's context yet), and only then may the compositor show the window.
void paintStartPicture(HWND window, HDC dc) {
    if (const OffscreenSurface* picture = startPictureSlot().get())
        BitBlt(dc, 0, 0, picture->width(), picture->height(), picture->dc(), 0, 0, SRCCOPY);
    setWindowCloaked(window, false);
}

void closeAnimator(HWND window) {
    // A close right after a display change hands over the picture that was on the screen;
    // building the new layout's first would make the close wait for its pictures. The
    // rebuild stays pending: a window kept by a refused password still follows the display.
    KillTimer(window, kParentWatchTimer);
    startPictureSlot().reset();
    std::unique_ptr<Animator>& animator = animatorSlot();
    if (!animator)
        return;
    animator->handOffWallpaper();
    Animator::discard(std::move(animator));
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

void followDisplayPower(LPARAM setting) {
    DisplayPower state = DisplayPower::On;
    if (!readDisplayPower(setting, state) || state == DisplayPower::Dimmed)
        return; // a dimmed display still shows the picture
    displayOff = state == DisplayPower::Off;
    followVisibility();
}

} // namespace

Animator* currentAnimator() {
    return animatorSlot().get();
}

void keepStartPicture(std::unique_ptr<OffscreenSurface> picture) {
    startPictureSlot() = std::move(picture);
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
        // The system tells a window of the display's power only when it asks.
        displayOff = false;
        session = SessionVisibility();
        rebuildPending = false;
        if (!host.preview) {
            displayPowerSlot() = std::make_unique<DisplayPowerNotice>(window);
            sessionSlot() = std::make_unique<SessionNotice>(window);
        } else {
            SetTimer(window, kParentWatchTimer, kParentWatchMs, nullptr);
        }
        break;
    }
    case WM_CLOSE:
        closeAnimator(window);
        break;
    case WM_DESTROY:
        closeAnimator(window);
        displayPowerSlot().reset();
        sessionSlot().reset();
        break;
    case WM_ERASEBKGND:
        if (Animator* animator = animatorSlot().get()) {
            if (!animator->paintWhileLoading(reinterpret_cast<HDC>(wParam)))
                animator->requestRepaint();
        } else if (!buildingAnimator) {
            paintStartPicture(window, reinterpret_cast<HDC>(wParam));
            startAnimator(window);
        }
        return 1;
    case WM_PAINT:
        // The render thread draws with the window's own context; painting here would take
        // that context on this thread (and clip it to the update region): the next frame
        // draws the whole window instead.
        if (Animator* animator = animatorSlot().get()) {
            ValidateRect(window, nullptr);
            // Not BeginPaint, nor a context taken here: the render thread draws with the
            // class's own context, which BeginPaint would clip to this update region.
            if (!animator->paintWhileLoading(nullptr))
                animator->requestRepaint();
            return 0;
        }
        break;
    case WM_DWMCOMPOSITIONCHANGED:
        if (Animator* animator = animatorSlot().get())
            animator->compositionChanged();
        break;
    case WM_DISPLAYCHANGE:
        // Never a close: the new layout is built once the changes settle.
        forgetCursorMoves();
        if (!saverHost().preview)
            scheduleRebuild(window);
        return 0;
    case WM_DPICHANGED:
        // The window covers every monitor in physical pixels; the suggested rectangle
        // would shrink it.
        return 0;
    case WM_SIZE:
        if (animatorSlot() && !placingWindow && wParam != SIZE_MINIMIZED &&
            (LOWORD(lParam) != builtFor.cx || HIWORD(lParam) != builtFor.cy))
            scheduleRebuild(window);
        break;
    case WM_TIMER:
        if (wParam == kRebuildTimer) {
            rebuildAnimator(window);
            return 0;
        }
        if (wParam == kParentWatchTimer) {
            followParent(window);
            return 0;
        }
        break;
    case WM_WTSSESSION_CHANGE:
        // Locked, switched away or back: a pause or a resume, never a close.
        session.follow(wParam);
        followVisibility();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MONITORPOWER)
            followMonitorPower(lParam);
        break;
    case WM_POWERBROADCAST:
        // A change of the power source is no reason to close.
        if (wParam == PBT_APMPOWERSTATUSCHANGE)
            return 0;
        // Nor is a display that goes off or comes back: it pauses or resumes.
        if (wParam == PBT_POWERSETTINGCHANGE) {
            followDisplayPower(lParam);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return defaultSaverProc(window, message, wParam, lParam);
}
