#pragma once
#include "check/catalogue_lines.h"
#include "check/check_report.h"

#include <windows.h>
#include <string>

class ContactSheet;

// Builds the type's Scene for the screen size exactly as the saver builds it (the saver's
// loader and Scene, from this catalogue, starting afresh) and records its outcome: an
// error for every reason it is broken, warnings for what will not show as meant. With a
// sheet, the first frame the saver would draw goes into it.
void checkTypeOnScreen(const std::string& cataloguePath, const CatalogueLines& lines,
                       TypeOutcome& type, ScreenSize screen, HDC dc, ContactSheet* sheet,
                       CheckReport& report);

// "field 5 (sprite picture)": a field of a move type's file entry, named for authors.
std::string fieldName(std::int32_t moveType, int fieldNumber);
