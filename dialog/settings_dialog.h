#pragma once
#include <windows.h>

// The settings dialog's procedure, for the dialog template IDD_SETTINGS of the module
// that creates it (the dialog loads its icons from that module too).
INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the settings dialog modally, owned by owner (none when null). Returns the end
// code: IDOK or IDCANCEL, or -1 when the dialog cannot be shown.
INT_PTR runSettingsDialog(HINSTANCE instance, HWND owner);
