#include "host/saver_modes.h"
#include "platform/loaded_module.h"

void restrictLibrarySearch() {
    // Looked up, not imported: a system without it must still start the saver.
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    if (auto setDllDirectory =
            findExport<SetDllDirectoryFn>(GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA"))
        setDllDirectory("");
}
