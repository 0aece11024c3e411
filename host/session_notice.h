#pragma once
#include "platform/loaded_module.h"

#include <windows.h>

// The session notifications of the system for one window, for the owner's life
// (WM_WTSSESSION_CHANGE for this session: locked, unlocked, connected to or disconnected
// from the console or a remote client). wtsapi32 comes from the system folder; nothing on a
// system without it.
class SessionNotice {
  public:
    explicit SessionNotice(HWND window);
    ~SessionNotice();
    SessionNotice(const SessionNotice&) = delete;
    SessionNotice& operator=(const SessionNotice&) = delete;

    explicit operator bool() const { return registered_; }

  private:
    HWND window_;
    LoadedModule wtsapi_;
    bool registered_ = false;
};

// Whether the session can be seen at the console, as a WM_WTSSESSION_CHANGE (wParam)
// changes it: locked, and away from the console, each set and cleared by its own events.
struct SessionVisibility {
    bool locked = false;
    bool awayFromConsole = false;

    void follow(WPARAM event);
    bool visible() const { return !locked && !awayFromConsole; }
};
