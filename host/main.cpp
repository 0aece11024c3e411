#include "host/command_line.h"
#include "host/saver_modes.h"

#include <windows.h>

// The system starts the saver with one switch; everything else is the dispatcher's.
// The raw command line is used rather than the runtime's tail, whose idea of quoting
// differs from the one the switch grammar is written for.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    restrictLibrarySearch();
    return dispatchCommandLine(GetModuleHandleA(nullptr), skipProgramName(GetCommandLineA()));
}
