#pragma once
// Identifiers of the program's resources, shared by the .rc file and the code.

#define IDS_SAVER_DESCRIPTION 1
#define IDS_DATA_FOLDER 2
#define IDS_WALLPAPER_FILE 3

#define IDI_SAVER 100
#define IDI_LOGO 103
#define IDB_NOTICE 105
#define IDB_PREVIEW_PLACEHOLDER 106
#define IDD_SETTINGS 2003

// Controls of the settings dialog (OK and Cancel are IDOK and IDCANCEL).
#define IDC_LOGO_BUTTON 1003
#define IDC_TYPE_LIST 1004
#define IDC_POLICY_CONDITIONAL 1005
#define IDC_POLICY_NEVER 1006
#define IDC_POLICY_ALWAYS 1007
#define IDC_TYPE_LABEL 1008
#define IDC_TITLE 1010
