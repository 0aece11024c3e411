#include "check/catalogue_check.h"
#include "check/catalogue_lines.h"
#include "check/contact_sheet.h"
#include "check/entry_checks.h"
#include "check/type_screen_check.h"
#include "platform/gdi_handles.h"
#include "settings/catalogue.h"

#include <windows.h>
#include <algorithm>

namespace {

std::string fullPath(const std::string& path) {
    char full[MAX_PATH * 4] = "";
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

std::vector<ScreenSize> screensToCheck(const CheckRequest& request, const CatalogueLines& lines) {
    if (!request.screens.empty())
        return request.screens;
    std::vector<ScreenSize> screens = fileKeyScreens(lines);
    for (const ScreenSize& common : kCommonScreens)
        if (std::find(screens.begin(), screens.end(), common) == screens.end())
            screens.push_back(common);
    std::sort(screens.begin(), screens.end(), [](ScreenSize a, ScreenSize b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    return screens;
}

} // namespace

CheckStatus checkCatalogue(const CheckRequest& request, CheckReport& report, std::string& why) {
    report = {};
    report.cataloguePath = fullPath(request.cataloguePath);
    CatalogueLines lines;
    if (!lines.read(report.cataloguePath, why))
        return CheckStatus::Unreadable;
    if (lines.sections().empty()) {
        why = lines.empty() ? "it is empty" : "it holds no [section] line: it is no catalogue";
        return CheckStatus::Unreadable;
    }
    // The profile functions take a path longer than this for a name in the system folder.
    if (report.cataloguePath.size() >= 520) {
        why = "its path is longer than 519 characters";
        return CheckStatus::Unreadable;
    }
    report.screens = screensToCheck(request, lines);

    ContactSheet sheet;
    bool sheetOpen = false;
    if (!request.sheetFolder.empty()) {
        sheetOpen = sheet.open(fullPath(request.sheetFolder), why);
        if (!sheetOpen)
            why = "the sheet's folder " + fullPath(request.sheetFolder) + " " + why;
    }

    if (lines.holdsNulBytes())
        report.add(
            {Severity::Warning, 0, "", "the file holds NUL bytes: it is no text file", -1, {}});
    checkEntries(report.cataloguePath, lines, report);

    WindowDC screenDC(nullptr);
    for (int number : typeSectionNumbers(lines)) {
        char section[16];
        typeSectionName(number, section);
        TypeOutcome type;
        type.number = number;
        type.section = lines.section(section)->name;
        TypeSettings settings{};
        type.listed = readTypeSettings(number, 0, 0, 0, settings, report.cataloguePath.c_str());
        if (type.listed) {
            type.name = settings.name;
            type.moveType = settings.moveType;
        }
        for (const ScreenSize& screen : report.screens)
            checkTypeOnScreen(report.cataloguePath, lines, type, screen, screenDC.get(),
                              sheetOpen ? &sheet : nullptr, report);
        report.types.push_back(std::move(type));
    }
    if (std::none_of(report.types.begin(), report.types.end(),
                     [](const TypeOutcome& t) { return t.listed; }))
        report.add({Severity::Error,
                    0,
                    "",
                    "the catalogue names no type ([Type00] to [Type99] with Name and MoveType): "
                    "the saver shows the notice whichever type is chosen",
                    -1,
                    {}});
    if (!request.sheetFolder.empty()) {
        if (!sheetOpen)
            return CheckStatus::SheetFailed;
        if (!sheet.writeIndex(report, why)) {
            why = "the sheet's index.html: " + why;
            return CheckStatus::SheetFailed;
        }
    }
    return CheckStatus::Checked;
}
