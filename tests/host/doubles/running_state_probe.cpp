// Exits with the system's screen-saver-running state (0 or 1) as a fresh process reads
// it; 2 when it cannot be read.
#include <windows.h>

int main() {
    BOOL running = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0))
        return 2;
    return running ? 1 : 0;
}
