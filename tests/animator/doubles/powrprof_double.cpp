// A stand-in for the platform's powrprof.dll. The test program sets the policy that
// GetCurrentPowerPolicies reports through the environment variable
// ORVIK_TEST_POWER_POLICY = "idleAc,idleDc,dozeS4Ac,dozeS4Dc" (seconds); when it is absent
// or unreadable the call fails, as Wine's own does. Each load is recorded in
// powrprof-loaded.txt beside the library, so that a test can tell which copy was loaded.
#include "tests/host/doubles/double_files.h"

#include <windows.h>
#include <powrprof.h>

#include <cstdio>

namespace {
LONG callCount = 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        appendRecord("powrprof-loaded.txt", "loaded");
    return TRUE;
}

extern "C" __declspec(dllexport) BOOLEAN WINAPI
    GetCurrentPowerPolicies(PGLOBAL_POWER_POLICY globalPolicy, PPOWER_POLICY policy) {
    InterlockedIncrement(&callCount);
    char text[100];
    DWORD length = GetEnvironmentVariableA("ORVIK_TEST_POWER_POLICY", text, sizeof text);
    if (length == 0 || length >= sizeof text)
        return FALSE;
    unsigned long idleAc = 0, idleDc = 0, dozeAc = 0, dozeDc = 0;
    if (std::sscanf(text, "%lu,%lu,%lu,%lu", &idleAc, &idleDc, &dozeAc, &dozeDc) != 4)
        return FALSE;
    if (globalPolicy)
        ZeroMemory(globalPolicy, sizeof *globalPolicy);
    if (policy) {
        ZeroMemory(policy, sizeof *policy);
        policy->user.IdleTimeoutAc = idleAc;
        policy->user.IdleTimeoutDc = idleDc;
        policy->mach.DozeS4TimeoutAc = dozeAc;
        policy->mach.DozeS4TimeoutDc = dozeDc;
    }
    return TRUE;
}

// How often the policy was asked for since the library was loaded.
extern "C" __declspec(dllexport) LONG WINAPI PowerDoubleCallCount() {
    return callCount;
}
