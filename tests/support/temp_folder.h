#pragma once
#include <string>

// A new, empty folder under the system's temporary folder, removed with its content
// when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path without a trailing backslash.
    const std::string& path() const { return path_; }
    // path() + "\" + name
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    // Writes a file of the folder whole.
    std::string writeFile(const std::string& name, const std::string& content) const;

  private:
    std::string path_;
};
