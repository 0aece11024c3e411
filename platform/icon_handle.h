#pragma once
#include "platform/unique_handle.h"

#include <windows.h>

// An icon made for its owner (LoadImage without LR_SHARED, CreateIconIndirect, ...),
// destroyed once with DestroyIcon.
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = UniqueHandle<HICON, IconDestroyer>;
