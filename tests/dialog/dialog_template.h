#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// An extended dialog template (DLGTEMPLATEEX) as stored in a module's resources, read
// field by field so that tests see exactly what the resource compiler wrote.
struct TemplateText {
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
    std::string text; // UTF-16 narrowed; the templates here are ASCII
};

struct TemplateControl {
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;
    std::string className; // predefined classes by their name, e.g. "button"
    TemplateText text;
};

struct DialogTemplate {
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    TemplateText menu;
    TemplateText windowClass;
    std::string caption;
    std::uint16_t pointSize = 0;
    std::string typeface;
    std::vector<TemplateControl> controls;
};

// Reads dialog template id of module; false when it is missing or not a DLGTEMPLATEEX.
bool readDialogTemplate(HMODULE module, int id, DialogTemplate& dialog);
