#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Where the sections and keys of a catalogue stand in its text, so that a problem can name
// its line. Only locations: every value is read with the saver's own profile reads.
struct CatalogueKey {
    std::string name; // as written, blanks around it dropped
    int line = 0;     // from 1
    std::size_t valueLength = 0;
};

struct CatalogueSection {
    std::string name;
    int line = 0;
    std::vector<CatalogueKey> keys;
};

class CatalogueLines {
  public:
    // Reads the file; false, with the system's reason in error, when it cannot be read.
    bool read(const std::string& path, std::string& error);

    const std::vector<CatalogueSection>& sections() const { return sections_; }
    // The first section of that name (letter case aside), or null.
    const CatalogueSection* section(const std::string& name) const;
    // The line of a key in the first section of that name, or the section's own line when
    // the key is not there, or 0.
    int lineOf(const std::string& section, const std::string& key = "") const;
    bool holdsNulBytes() const { return nulBytes_; }
    bool empty() const { return empty_; }

  private:
    void index(const std::string& text);

    std::vector<CatalogueSection> sections_;
    bool nulBytes_ = false;
    bool empty_ = true;
};

bool sameName(const std::string& a, const std::string& b);
