#include "settings/catalogue.h"
#include "settings/catalogue_path.h"
#include "settings/field_tokenizer.h"

#include <windows.h>
#include <cstdio>
#include <cstring>

namespace {

// The catalogue a read goes to: the given one, or the one beside the program.
const char* catalogueOf(const char* cataloguePath, char (&path)[kPathCapacity]) {
    if (cataloguePath)
        return cataloguePath;
    return catalogueFilePath(path, sizeof path) ? path : nullptr;
}

} // namespace

bool readCatalogueString(const char* section, const char* key, char* value, std::size_t capacity,
                         const char* cataloguePath) {
    if (capacity == 0)
        return false;
    value[0] = '\0';
    char own[kPathCapacity];
    const char* path = catalogueOf(cataloguePath, own);
    if (!path)
        return false;
    GetPrivateProfileStringA(section, key, missingMarker, value, static_cast<DWORD>(capacity),
                             path);
    if (std::strcmp(value, missingMarker) == 0) {
        value[0] = '\0';
        return false;
    }
    return true;
}

std::int32_t readCatalogueInt(const char* section, const char* key, const char* cataloguePath) {
    char own[kPathCapacity];
    const char* path = catalogueOf(cataloguePath, own);
    if (!path)
        return missingIntMarker;
    return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, missingIntMarker, path));
}

void typeSectionName(int typeNumber, char (&section)[16]) {
    std::snprintf(section, sizeof section, "Type%02d", typeNumber);
}

void fileKeyName(int screenWidth, int screenHeight, char (&key)[32]) {
    std::snprintf(key, sizeof key, "File.%04dx%04d", screenWidth, screenHeight);
}

PowerSaveSettings readPowerSaveSettings() {
    PowerSaveSettings settings{1, 3, 300};
    char value[kShortTextCapacity];
    if (readCatalogueString("General", "PowerSaveTimeoutMulDiv", value, sizeof value)) {
        std::int32_t multiplier = 0;
        std::int32_t divisor = 0;
        nextIntField(nextIntField(value, &multiplier), &divisor);
        if (divisor != 0)
            settings = {multiplier, divisor, settings.maximumSeconds};
    }
    if (readCatalogueString("General", "PowerSaveTimeoutMax", value, sizeof value))
        nextIntField(value, &settings.maximumSeconds);
    return settings;
}

std::int32_t readStartStyle() {
    char value[kShortTextCapacity];
    std::int32_t style = 1;
    if (readCatalogueString("General", "ScrStartStyle", value, sizeof value))
        nextIntField(value, &style);
    return style;
}

TypeLookup lookUpTypeSettings(int typeNumber, int screenWidth, int screenHeight,
                              unsigned wantedParts, TypeSettings& settings,
                              const char* cataloguePath) {
    if (wantedParts & TypePartResourceFolder)
        resourceFolder(settings.resourceFolder, sizeof settings.resourceFolder, cataloguePath);

    char section[16];
    typeSectionName(typeNumber, section);
    if (!readCatalogueString(section, "Name", settings.name, sizeof settings.name, cataloguePath))
        return TypeLookup::NoName;
    settings.moveType = readCatalogueInt(section, "MoveType", cataloguePath);
    if (settings.moveType == missingIntMarker)
        return TypeLookup::NoMoveType;

    settings.scaledFromReference = false;
    if (wantedParts & TypePartFile) {
        char key[32];
        fileKeyName(screenWidth, screenHeight, key);
        if (!readCatalogueString(section, key, settings.fileSpec, sizeof settings.fileSpec,
                                 cataloguePath)) {
            if (!readCatalogueString(section, "File.1024x0768", settings.fileSpec,
                                     sizeof settings.fileSpec, cataloguePath))
                return TypeLookup::NoFileEntry;
            settings.scaledFromReference = true;
        }
    }
    if (wantedParts & TypePartMotionWhilePowerSave) {
        std::int32_t motion = readCatalogueInt(section, "MotionWhilePowerSave", cataloguePath);
        settings.motionWhilePowerSave = (motion == missingIntMarker || motion >= 3) ? 1 : motion;
    }
    if (wantedParts & TypePartSkipIfReqFixedPos) {
        std::int32_t skip = readCatalogueInt(section, "SkipIfReqFixedPos", cataloguePath);
        settings.skipIfReqFixedPos = skip != 0;
    }
    return TypeLookup::Found;
}

bool readTypeSettings(int typeNumber, int screenWidth, int screenHeight, unsigned wantedParts,
                      TypeSettings& settings, const char* cataloguePath) {
    return lookUpTypeSettings(typeNumber, screenWidth, screenHeight, wantedParts, settings,
                              cataloguePath) == TypeLookup::Found;
}
