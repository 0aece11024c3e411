#pragma once
#include "check/check_report.h"

#include <windows.h>
#include <string>

class Scene;

// A folder with the first frame the saver would draw for each type at each screen size,
// as BMP files, and an index.html that shows them side by side.
class ContactSheet {
  public:
    // False, with the reason, when the folder cannot be made.
    bool open(const std::string& folder, std::string& error);

    // The Scene's first frame, drawn as the saver draws it before its start-up transition;
    // the file's name within the folder, or empty when it could not be written.
    std::string writeFrame(int type, ScreenSize screen, HDC dc, Scene& scene);
    // The notice the saver shows instead of a broken type.
    std::string writeNotice(int type, ScreenSize screen, HDC dc);
    // index.html: a row per type, a column per screen size.
    bool writeIndex(const CheckReport& report, std::string& error) const;

  private:
    std::string folder_;
};
