#include "check/entry_checks.h"
#include "check/type_screen_check.h"
#include "scene/picture_parameters.h"
#include "settings/catalogue.h"
#include "settings/catalogue_path.h"
#include "settings/field_tokenizer.h"

#include <windows.h>
#include <algorithm>
#include <cstring>

namespace {

bool startsWithName(const std::string& text, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    return text.size() >= length && sameName(text.substr(0, length), prefix);
}

bool isDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (text.size() < from + count)
        return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// Whether a section's name is spelt as the saver asks for a type's ("Type%02d", letter case
// aside), and which type it is.
bool isTypeSection(const std::string& name, int& number) {
    if (name.size() != 6 || !startsWithName(name, "Type") || !isDigits(name, 4, 2))
        return false;
    number = std::stoi(name.substr(4));
    return true;
}

// Only the first of keys of the same name in a section is read.
bool isFirstOfItsName(const CatalogueSection& section, const CatalogueKey& key) {
    return &key ==
           &*std::find_if(section.keys.begin(), section.keys.end(),
                          [&](const CatalogueKey& k) { return sameName(k.name, key.name); });
}

// A field's own text, without the comma that ends it.
std::string fieldText(const char* cursor) {
    std::string raw(cursor, nextTextField(cursor, nullptr, 0) - cursor);
    if (!raw.empty() && raw.back() == ',')
        raw.pop_back();
    return raw;
}

class EntryChecker {
  public:
    EntryChecker(const std::string& path, const CatalogueLines& lines, CheckReport& report)
        : path_(path), lines_(lines), report_(report) {
        char folder[kPathCapacity] = "";
        resourceFolder(folder, sizeof folder, path_.c_str());
        resourceFolder_ = folder;
    }

    void warn(int line, const std::string& where, const std::string& text, int type = -1) {
        report_.add({Severity::Warning, line, where, text, type, {}});
    }

    void checkSections();
    void checkGeneral(const CatalogueSection& general);
    void checkType(int number, const CatalogueSection& section);

  private:
    // A number of the catalogue read as the saver reads it; warns of anything but a number.
    void checkNumber(const CatalogueSection& section, const CatalogueKey& key,
                     const std::string& readsAs);
    void checkFileEntry(int number, const CatalogueSection& section, const CatalogueKey& key,
                        std::int32_t moveType);
    // Warns of a number field of an entry that is none, as the saver reads it; true when it
    // did.
    bool checkNumberField(int number, const CatalogueKey& key, const std::string& place,
                          std::int32_t moveType, int field, const char* cursor);
    std::string value(const CatalogueSection& section, const CatalogueKey& key) const {
        char text[kFileSpecCapacity] = "";
        readCatalogueString(section.name.c_str(), key.name.c_str(), text, sizeof text,
                            path_.c_str());
        return text;
    }
    std::string where(const CatalogueSection& section, const CatalogueKey& key) const {
        return "[" + section.name + "] " + key.name;
    }

    const std::string& path_;
    const CatalogueLines& lines_;
    CheckReport& report_;
    std::string resourceFolder_; // where the saver looks for the pictures
};

const char* formText(IntFieldForm form) {
    switch (form) {
    case IntFieldForm::Empty:
        return "is empty";
    case IntFieldForm::NotANumber:
        return "is not a number";
    case IntFieldForm::TrailingText:
        return "has text after its number";
    case IntFieldForm::Saturated:
        return "lies beyond 32 bits";
    case IntFieldForm::Number:
        break;
    }
    return "";
}

void EntryChecker::checkNumber(const CatalogueSection& section, const CatalogueKey& key,
                               const std::string& readsAs) {
    const std::string text = value(section, key);
    std::int32_t number = 0;
    IntFieldForm form = IntFieldForm::Number;
    nextIntField(text.c_str(), &number, &form);
    if (form != IntFieldForm::Number)
        warn(key.line, where(section, key),
             "\"" + text + "\" " + formText(form) + ": the saver reads " +
                 (readsAs.empty() ? std::to_string(number) : readsAs));
}

bool EntryChecker::checkNumberField(int number, const CatalogueKey& key, const std::string& place,
                                    std::int32_t moveType, int field, const char* cursor) {
    std::int32_t value = 0;
    IntFieldForm form = IntFieldForm::Number;
    nextIntField(cursor, &value, &form);
    if (form == IntFieldForm::Number)
        return false;
    warn(key.line, place,
         fieldName(moveType, field) + " \"" + fieldText(cursor) + "\" " + formText(form) +
             ": the saver reads " + std::to_string(value),
         number);
    return true;
}

void EntryChecker::checkSections() {
    for (std::size_t i = 0; i < lines_.sections().size(); ++i) {
        const CatalogueSection& section = lines_.sections()[i];
        const CatalogueSection* first = lines_.section(section.name);
        if (first != &section) {
            warn(section.line, "[" + section.name + "]",
                 "the section appears again (first at line " + std::to_string(first->line) +
                     "): the saver reads only the first");
            continue;
        }
        int number = 0;
        if (sameName(section.name, "General")) {
            checkGeneral(section);
        } else if (isTypeSection(section.name, number)) {
            checkType(number, section);
        } else if (startsWithName(section.name, "Type")) {
            warn(section.line, "[" + section.name + "]",
                 "the saver never reads this section: a type's section is Type and two digits, "
                 "Type00 to Type99");
        } else {
            warn(section.line, "[" + section.name + "]",
                 "the saver never reads this section (it reads [General] and [Type00] to "
                 "[Type99])");
        }
        // Keys that appear twice: the first is read.
        for (std::size_t k = 0; k < section.keys.size(); ++k)
            for (std::size_t j = 0; j < k; ++j)
                if (sameName(section.keys[j].name, section.keys[k].name)) {
                    warn(section.keys[k].line, where(section, section.keys[k]),
                         "the key appears again in its section (first at line " +
                             std::to_string(section.keys[j].line) +
                             "): the saver reads only the first");
                    break;
                }
    }
}

void EntryChecker::checkGeneral(const CatalogueSection& general) {
    for (const CatalogueKey& key : general.keys) {
        if (!isFirstOfItsName(general, key))
            continue;
        if (sameName(key.name, "ResourcePath")) {
            continue; // judged where a picture is not found
        } else if (sameName(key.name, "PowerSaveTimeoutMulDiv")) {
            const std::string text = value(general, key);
            std::int32_t multiplier = 0, divisor = 0;
            IntFieldForm first = IntFieldForm::Number, second = IntFieldForm::Number;
            nextIntField(nextIntField(text.c_str(), &multiplier, &first), &divisor, &second);
            if (divisor == 0)
                warn(key.line, where(general, key),
                     "\"" + text +
                         "\" has no divisor other than 0: the saver uses 1,3 (a third "
                         "of the idle time-out)");
            else if (first != IntFieldForm::Number || second != IntFieldForm::Number)
                warn(key.line, where(general, key),
                     "\"" + text + "\": " +
                         (first != IntFieldForm::Number ? "the multiplier " : "the divisor ") +
                         formText(first != IntFieldForm::Number ? first : second) +
                         ": the saver reads " + std::to_string(multiplier) + "," +
                         std::to_string(divisor));
        } else if (sameName(key.name, "PowerSaveTimeoutMax") ||
                   sameName(key.name, "ScrStartStyle")) {
            checkNumber(general, key, "");
        } else {
            warn(key.line, where(general, key), "the saver reads no such key in [General]");
        }
    }
}

void EntryChecker::checkType(int number, const CatalogueSection& section) {
    const std::int32_t moveType = readCatalogueInt(section.name.c_str(), "MoveType", path_.c_str());
    for (const CatalogueKey& key : section.keys) {
        if (!isFirstOfItsName(section, key))
            continue;
        if (sameName(key.name, "Name")) {
            if (key.valueLength >= kShortTextCapacity)
                warn(key.line, where(section, key),
                     "the name is " + std::to_string(key.valueLength) +
                         " characters long: the settings show only its first " +
                         std::to_string(kShortTextCapacity - 1),
                     number);
        } else if (sameName(key.name, "MoveType")) {
            checkNumber(section, key, std::to_string(moveType));
        } else if (sameName(key.name, "MotionWhilePowerSave")) {
            const std::int32_t motion =
                readCatalogueInt(section.name.c_str(), "MotionWhilePowerSave", path_.c_str());
            checkNumber(section, key, std::to_string(motion));
            if (motion >= 3 && motion != missingIntMarker)
                warn(key.line, where(section, key),
                     std::to_string(motion) + " is not 0, 1 or 2: the saver uses 1 (blocks)",
                     number);
            else if (motion < 0)
                warn(key.line, where(section, key),
                     std::to_string(motion) + " is not 0, 1 or 2: the saver reveals in blocks",
                     number);
        } else if (sameName(key.name, "SkipIfReqFixedPos")) {
            const std::int32_t skip =
                readCatalogueInt(section.name.c_str(), "SkipIfReqFixedPos", path_.c_str());
            checkNumber(section, key,
                        std::to_string(skip) + (skip == 0 ? " (a glide or cross-fade is not "
                                                            "finished at close)"
                                                          : ""));
        } else if (startsWithName(key.name, "File.")) {
            ScreenSize screen;
            if (!parseFileKey(key.name, screen))
                warn(key.line, where(section, key),
                     "no screen size reads this key: a File key is File.WWWWxHHHH, four digits "
                     "each, such as File.0800x0600 or File.1920x1080",
                     number);
            if (moveType != missingIntMarker)
                checkFileEntry(number, section, key, moveType);
        } else {
            warn(key.line, where(section, key), "the saver reads no such key in a type's section",
                 number);
        }
    }
}

void EntryChecker::checkFileEntry(int number, const CatalogueSection& section,
                                  const CatalogueKey& key, std::int32_t moveType) {
    const std::string w = where(section, key);
    if (key.valueLength >= kFileSpecCapacity)
        warn(key.line, w,
             "the entry is " + std::to_string(key.valueLength) +
                 " characters long: the saver reads only its first " +
                 std::to_string(kFileSpecCapacity - 1),
             number);
    const auto layout = pictureFieldLayout(moveType);
    if (layout.empty())
        return; // the loader's error says why
    const std::string text = value(section, key);
    const char* cursor = text.c_str();
    int field = 0;
    for (PictureField role : layout) {
        ++field;
        if (role == PictureField::Waypoints)
            break;
        const bool atEnd = *cursor == '\0';
        if (role == PictureField::Wallpaper || role == PictureField::Background ||
            role == PictureField::Sprite) {
            char name[kPathCapacity] = "";
            const char* next = nextTextField(cursor, name, sizeof name);
            if (role == PictureField::Wallpaper && name[0]) {
                const std::string folder = resourceFolder_;
                const std::string picture = folder + "\\" + name;
                if (GetFileAttributesA(picture.c_str()) == INVALID_FILE_ATTRIBUTES)
                    warn(key.line, w,
                         fieldName(moveType, field) + ": \"" + name +
                             "\" is not in the resource folder \"" + folder +
                             "\": the saver cannot tell that the desktop shows this type's "
                             "wallpaper",
                         number);
            }
            cursor = next;
            continue;
        }
        if (atEnd)
            warn(key.line, w, fieldName(moveType, field) + " is missing: the saver reads 0",
                 number);
        else
            checkNumberField(number, key, w, moveType, field, cursor);
        cursor = nextIntField(cursor, nullptr);
    }
    // The rest as the saver's own parse sees it.
    PictureParameters parameters;
    parsePictureParameters(text.c_str(), moveType, false, 1024, 768, parameters);
    if (moveType == MoveWaypoints) {
        // Waypoint numbers that are none read as 0 too.
        // One is enough to point at the list.
        int index = field;
        for (const char* at = cursor; *at && index < field + 2 * kMaxWaypoints; ++index) {
            if (checkNumberField(number, key, w, moveType, index, at))
                break;
            const char* next = nextIntField(at, nullptr);
            if (next == at)
                break;
            at = next;
        }
        if (parameters.waypointXWithoutY)
            warn(key.line, w,
                 "the last waypoint has an x but no y: the saver drops it (waypoints come in x,y "
                 "pairs)",
                 number);
        if (parameters.unreadFields > 0)
            warn(key.line, w,
                 "more than " + std::to_string(kMaxWaypoints) +
                     " waypoints: the saver takes the first " + std::to_string(kMaxWaypoints) +
                     " and never reads the last " + std::to_string(parameters.unreadFields) +
                     " fields",
                 number);
    } else if (parameters.unreadFields > 0) {
        warn(key.line, w,
             std::to_string(parameters.unreadFields) + " field" +
                 (parameters.unreadFields == 1 ? "" : "s") + " after " +
                 fieldName(moveType, static_cast<int>(layout.size())) +
                 ": the saver never reads them",
             number);
    }
}

} // namespace

bool parseFileKey(const std::string& key, ScreenSize& screen) {
    // "File." then four digits, "x", four digits.
    if (key.size() != 14 || !startsWithName(key, "File.") || !isDigits(key, 5, 4) ||
        (key[9] != 'x' && key[9] != 'X') || !isDigits(key, 10, 4))
        return false;
    screen = {std::stoi(key.substr(5, 4)), std::stoi(key.substr(10, 4))};
    return screen.width > 0 && screen.height > 0;
}

std::vector<int> typeSectionNumbers(const CatalogueLines& lines) {
    std::vector<int> numbers;
    int number = 0;
    for (const CatalogueSection& section : lines.sections())
        if (isTypeSection(section.name, number))
            numbers.push_back(number);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

std::vector<ScreenSize> fileKeyScreens(const CatalogueLines& lines) {
    std::vector<ScreenSize> screens;
    for (int number : typeSectionNumbers(lines)) {
        char section[16];
        typeSectionName(number, section);
        for (const CatalogueKey& key : lines.section(section)->keys) {
            ScreenSize screen;
            if (parseFileKey(key.name, screen) &&
                std::find(screens.begin(), screens.end(), screen) == screens.end())
                screens.push_back(screen);
        }
    }
    return screens;
}

void checkEntries(const std::string& cataloguePath, const CatalogueLines& lines,
                  CheckReport& report) {
    EntryChecker(cataloguePath, lines, report).checkSections();
}
