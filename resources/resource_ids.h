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
