/* The probe DLL is only its version record; the linker wants one symbol besides it. */
__declspec(dllexport) int versionProbe(void) {
    return 0;
}
