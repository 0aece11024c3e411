#pragma once
#include "check/check_report.h"

#include <string>
#include <vector>

struct CheckRequest {
    std::string cataloguePath;       // any spelling; made a full path
    std::vector<ScreenSize> screens; // empty: the catalogue's own sizes and the common ones
    std::string sheetFolder;         // empty: no sheet
};

enum class CheckStatus {
    Checked,
    Unreadable,  // the catalogue cannot be read at all: why says why
    SheetFailed, // checked, but the sheet could not be written: why says why
};

// The screen sizes checked when none are asked for.
inline constexpr ScreenSize kCommonScreens[] = {
    {1024, 768}, {1366, 768}, {1920, 1080}, {2560, 1440}, {3840, 2160}};

// Checks every type of the catalogue at every screen size, with the saver's own reading,
// loading and drawing.
CheckStatus checkCatalogue(const CheckRequest& request, CheckReport& report, std::string& why);
