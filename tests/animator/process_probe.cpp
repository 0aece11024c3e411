#include "tests/animator/process_probe.h"

#include <tlhelp32.h>

std::set<DWORD> threadsOfThisProcess() {
    std::set<DWORD> ids;
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    if (!snapshot || !Thread32First(snapshot.get(), &entry))
        return ids;
    do {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ids.insert(entry.th32ThreadID);
    } while (Thread32Next(snapshot.get(), &entry));
    return ids;
}

KernelHandle findRenderThread(const std::set<DWORD>& before, DWORD* id) {
    KernelHandle found;
    for (DWORD candidateId : threadsOfThisProcess()) {
        if (before.count(candidateId))
            continue;
        KernelHandle candidate(
            OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, candidateId));
        if (!candidate || GetThreadPriority(candidate.get()) != THREAD_PRIORITY_BELOW_NORMAL)
            continue;
        if (found)
            return KernelHandle();
        found = std::move(candidate);
        if (id)
            *id = candidateId;
    }
    return found;
}
