// A library planted beside the saver under the name of a system library that is no
// KnownDLL (msimg32.dll). Each load is recorded in "<name>-loaded.txt" and each call of its
// export in "<name>-calls.txt" beside it; the export fails. It takes the system's name
// through planted_library.def.
#include "tests/host/doubles/double_files.h"

#include <windows.h>

#include <string>

namespace {

std::string libraryName() {
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, sizeof path);
    std::string name(path);
    name = name.substr(name.rfind('\\') + 1);
    return name.substr(0, name.rfind('.'));
}

void recordCall(const char* function) {
    appendRecord((libraryName() + "-calls.txt").c_str(), function);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        appendRecord((libraryName() + "-loaded.txt").c_str(), "loaded");
    return TRUE;
}

extern "C" {
BOOL WINAPI plantedAlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION) {
    recordCall("AlphaBlend");
    return FALSE;
}
}
