#pragma once
#include "platform/loaded_module.h"

#include <windows.h>
#include <imm.h>

// The verifier's export "VerifyScreenSavePwd": non-zero when the password was accepted.
using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);
// IMM32's "ImmAssociateContext": gives the window a new input context, returns the old.
using AssociateContextFn = HIMC(WINAPI*)(HWND window, HIMC context);

inline constexpr DWORD kNoVerification = 0xFFFFFFFF;

// The process-wide record of the saver host. Main thread only: the render thread never
// reads or writes it.
struct SaverHost {
    HINSTANCE instance = nullptr;
    bool isWin9x = false; // platform id 1: the password hooks and the running state exist
    bool preview = false;
    HWND saverWindow = nullptr;
    UINT autoPlayMessage = 0; // "QueryCancelAutoPlay", 0 when not registered
    LoadedModule passwordLibrary;
    VerifyPasswordFn verifyPasswordFn = nullptr;
    bool closeAccepted = false; // stays set for the rest of the run
    bool verifying = false;
    DWORD lastVerifyEnd = kNoVerification;
    POINT cursorReference = {0, 0};
    UINT mouseThreshold = 4; // more than this (x plus y distance) closes
    LoadedModule inputMethodLibrary;
    AssociateContextFn associateContextFn = nullptr;
    HIMC savedInputContext = nullptr;
};

SaverHost& saverHost();
