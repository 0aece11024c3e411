// Prints the GDI and USER objects that a process (given by its program's file name) holds:
// "gdi=N user=M". GetGuiResources
// answers where the platform keeps the counts; where it answers 0 for a process that
// certainly holds objects (Wine), the GDI objects are counted in the process's shared
// handle table and the USER objects as the process's windows.
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// One entry of the shared GDI handle table, as the platform lays it out for 64 bits.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type; // 0: free
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleCount = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0xF8;

long countGdiEntries(HANDLE process) {
    using QueryFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process,
                           reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset,
                           &table, sizeof table, &read) ||
        table == 0)
        return -1;
    std::vector<GdiHandleEntry> entries(kGdiHandleCount);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), &read))
        return -1;
    long used = 0;
    for (std::size_t i = 0; i < read / sizeof(GdiHandleEntry); ++i)
        used += entries[i].type != 0;
    return used;
}

struct WindowCount {
    DWORD process;
    long windows;
};

BOOL CALLBACK countChildren(HWND, LPARAM data) {
    ++reinterpret_cast<WindowCount*>(data)->windows;
    return TRUE;
}

BOOL CALLBACK countWindows(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->process) {
        ++count->windows;
        EnumChildWindows(window, countChildren, data);
    }
    return TRUE;
}

// The first process running the program of that file name; 0 when there is none.
DWORD processOf(const char* fileName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD id = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && id == 0;
         more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, fileName) == 0)
            id = entry.th32ProcessID;
    CloseHandle(snapshot);
    return id;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: resource_probe <program file name>\n");
        return 2;
    }
    const DWORD id = processOf(argv[1]);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) {
        std::fprintf(stderr, "resource_probe: no process of %s to open\n", argv[1]);
        return 1;
    }
    long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
    long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    if (gdi == 0)
        gdi = countGdiEntries(process);
    if (user == 0) {
        WindowCount count = {id, 0};
        EnumWindows(countWindows, reinterpret_cast<LPARAM>(&count));
        user = count.windows;
    }
    std::printf("gdi=%ld user=%ld\n", gdi, user);
    CloseHandle(process);
    return 0;
}
