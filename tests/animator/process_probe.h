#pragma once
#include "platform/kernel_handles.h"

#include <windows.h>
#include <set>

// The ids of this process's threads now.
std::set<DWORD> threadsOfThisProcess();

// The render thread of an Animator started since the snapshot `before`: the one new
// thread that runs below normal priority. Empty when there is none (or more than one).
KernelHandle findRenderThread(const std::set<DWORD>& before, DWORD* id = nullptr);
