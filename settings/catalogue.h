#pragma once
#include "settings/text_buffer.h"

#include <cstddef>
#include <cstdint>

// Defaults handed to the profile reads so that an absent key can be told from a present
// one: a key is absent exactly when the marker comes back.
inline constexpr char missingMarker[] = "\x01";
inline constexpr std::int32_t missingIntMarker = 0x12345678;

inline constexpr int kFirstTypeNumber = 0;
inline constexpr int kLastTypeNumber = 99;

// Every read goes to the catalogue beside the program, unless cataloguePath names another
// one (the catalogue checker reads the file it was given, by the saver's own rules).

// Reads a key of the catalogue into value (cut to capacity - 1). Returns false, with an
// empty value, when the key is absent (or there is no catalogue).
bool readCatalogueString(const char* section, const char* key, char* value, std::size_t capacity,
                         const char* cataloguePath = nullptr);

// Reads an integer key; missingIntMarker when absent.
std::int32_t readCatalogueInt(const char* section, const char* key,
                              const char* cataloguePath = nullptr);

// "Type%02d" for a type number.
void typeSectionName(int typeNumber, char (&section)[16]);

struct PowerSaveSettings {
    std::int32_t multiplier;
    std::int32_t divisor; // never 0
    std::int32_t maximumSeconds;
};

PowerSaveSettings readPowerSaveSettings();
std::int32_t readStartStyle();

// Which optional fields readTypeSettings fills; name and moveType are always read.
enum TypeSettingsPart : unsigned {
    TypePartFile = 1u << 0, // fileSpec and scaledFromReference
    TypePartResourceFolder = 1u << 1,
    TypePartMotionWhilePowerSave = 1u << 2,
    TypePartSkipIfReqFixedPos = 1u << 3,
    TypePartsAll = 0xFu,
};

inline constexpr std::size_t kFileSpecCapacity = 1000;

// One present [TypeNN] section as read.
struct TypeSettings {
    char name[kShortTextCapacity];
    std::int32_t moveType;
    char fileSpec[kFileSpecCapacity];
    bool scaledFromReference; // the 1024 x 768 entry stood in for the screen's own
    char resourceFolder[kPathCapacity];
    std::int32_t motionWhilePowerSave; // at most 2
    bool skipIfReqFixedPos;
};

// Why a type could be read or not.
enum class TypeLookup {
    Found,
    NoName,
    NoMoveType,  // absent, or written as the absent marker's number
    NoFileEntry, // neither the screen's File key nor the 1024 x 768 one
};

// Fills settings and returns Found, or says why the type is absent: no Name, no MoveType,
// or (when the file entry is wanted) neither the screen's File key nor the 1024 x 768 one.
TypeLookup lookUpTypeSettings(int typeNumber, int screenWidth, int screenHeight,
                              unsigned wantedParts, TypeSettings& settings,
                              const char* cataloguePath = nullptr);

// lookUpTypeSettings, true when the type was found.
bool readTypeSettings(int typeNumber, int screenWidth, int screenHeight, unsigned wantedParts,
                      TypeSettings& settings, const char* cataloguePath = nullptr);

// "File.%04dx%04d": the key of a screen size's own file entry.
void fileKeyName(int screenWidth, int screenHeight, char (&key)[32]);
