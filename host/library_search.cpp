#include "host/saver_modes.h"
#include "platform/loaded_module.h"

void restrictLibrarySearch() {
    // Looked up, not imported: a system without them must still start the saver.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    if (auto setDllDirectory = findExport<SetDllDirectoryFn>(kernel, "SetDllDirectoryA"))
        setDllDirectory("");
    // Where the default search can be narrowed to the program's and the system's folders,
    // it is: that leaves the current folder out too on platforms (Wine among them) that
    // keep it after an empty SetDllDirectory.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (auto setDefaultDllDirectories =
            findExport<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories"))
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}
