#pragma once
#include "check/catalogue_lines.h"
#include "check/check_report.h"

#include <string>

// The checks that need no screen size: the names of sections and keys, the [General]
// values, and each File entry's fields (numbers that are none, fields the saver never
// reads, waypoints it drops). All of them are warnings: none keeps a type from running.
void checkEntries(const std::string& cataloguePath, const CatalogueLines& lines,
                  CheckReport& report);

// Type numbers whose section is spelt as the saver asks for it ("Type%02d", letter case
// aside), in ascending order.
std::vector<int> typeSectionNumbers(const CatalogueLines& lines);

// The sizes the catalogue's File keys name (File.WWWWxHHHH).
std::vector<ScreenSize> fileKeyScreens(const CatalogueLines& lines);

// "File.WWWWxHHHH" read as a screen size; false for any other spelling.
bool parseFileKey(const std::string& key, ScreenSize& screen);
