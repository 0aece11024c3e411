#include <windows.h>

// The saver's modes are not wired up yet: every command line is refused.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return -1; }
