#pragma once
#include "platform/unique_handle.h"

#include <windows.h>

// A global-memory object (GlobalAlloc), freed with GlobalFree.
struct GlobalMemoryFreer {
    void operator()(HGLOBAL handle) const { GlobalFree(handle); }
};
using GlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryFreer>;
