#pragma once
#include "tests/support/temp_folder.h"

#include <string>
#include <vector>

// A copy of the built OrvikSaver.scr in a folder of its own, with the catalogue and the
// pictures beside it, as a user's installation would have them.
class SaverInstall {
  public:
    // subFolder, when given, is made inside the temporary folder (a name with a blank
    // tests the quoting of the program name).
    explicit SaverInstall(const std::string& subFolder = "");

    const std::string& folder() const { return folder_; }
    const std::string& program() const { return program_; }
    std::string file(const std::string& name) const { return folder_ + "\\" + name; }

    // OrvikSaver.ini with the pictures: type 0 drifts right by 2 pixels a frame over the
    // column-coded background; types 2 and 5 exist for the dialog's list.
    void writeStandardCatalogue() const;
    // The path that the catalogue gives as type 0's own wallpaper.
    std::string catalogueWallpaper() const { return file("wall.bmp"); }

    // Copies a file that the build made (its Unix path) into the folder as name.
    bool addBuiltFile(const char* unixPath, const std::string& name) const;
    void writeFile(const std::string& name, const std::string& content) const;
    std::vector<std::string> readLines(const std::string& name) const;

    // "<program>" followed by a blank and the switch text, as the system writes it.
    std::string quotedCommand(const std::string& tail) const;

  private:
    TempFolder temp_;
    std::string folder_;
    std::string program_;
};

// The names that writeStandardCatalogue gives its types, in type-number order.
inline const char* const kStandardTypeNames[] = {"Drifting Harbour", "Quiet Bay", "Night Lights"};
inline constexpr int kStandardTypeNumbers[] = {0, 2, 5};
