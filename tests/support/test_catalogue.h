#pragma once
#include <string>

// The running test program's catalogue: its own path with ".ini" for the last four
// characters, where the program looks for it. The file is written whole by write() and
// removed again when the object goes.
class TestCatalogue {
  public:
    TestCatalogue();
    ~TestCatalogue();
    TestCatalogue(const TestCatalogue&) = delete;
    TestCatalogue& operator=(const TestCatalogue&) = delete;

    void write(const std::string& text) const;
    void remove() const;
    const std::string& path() const { return path_; }
    // The program's folder with its trailing backslash.
    std::string folder() const;

  private:
    std::string path_;
};
