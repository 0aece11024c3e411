#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ScreenSize {
    int width = 0;
    int height = 0;
    bool operator==(const ScreenSize&) const = default;
};

std::string screenName(ScreenSize screen); // "1920x1080"

enum class Severity {
    Warning, // the saver runs, but probably not as the author meant
    Error,   // the saver shows the notice for that type on that screen
};

// One thing wrong, where it stands in the catalogue.
struct Problem {
    Severity severity = Severity::Warning;
    int line = 0;                    // 0: the catalogue as a whole
    std::string where;               // "[Type00] File.1024x0768", or "[General]"
    std::string text;                // what is wrong, and what the saver does instead
    int type = -1;                   // the type it belongs to, -1 for none
    std::vector<ScreenSize> screens; // the screen sizes it was found at; empty: all
};

// How one type fares on one screen size.
struct ScreenOutcome {
    ScreenSize screen;
    std::string key;                  // the File key used, empty when none
    bool scaledFromReference = false; // the 1024 x 768 entry, scaled
    bool broken = true;               // the saver shows the notice
    int errors = 0;
    int warnings = 0;
    std::string frameFile; // the sheet's picture of it, when one was written
};

struct TypeOutcome {
    int number = 0;
    std::string section; // as the catalogue spells it
    std::string name;
    std::int32_t moveType = 0;
    bool listed = false; // has Name and MoveType: the settings list it
    std::vector<ScreenOutcome> screens;
};

struct CheckReport {
    std::string cataloguePath; // full path
    std::vector<ScreenSize> screens;
    std::vector<Problem> problems;
    std::vector<TypeOutcome> types;
    int errorCount() const;
    int warningCount() const;
    // Adds a problem, or the screen to an equal one found already.
    void add(Problem problem);
};
