#include "host/command_line.h"

#include <cstdint>

namespace {

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool isSeparator(char c) {
    return c == ' ' || c == '-' || c == '/';
}

const char* skipSpaces(const char* text) {
    while (*text == ' ')
        ++text;
    return text;
}

} // namespace

const char* skipProgramName(const char* commandLine) {
    const char* cursor = commandLine;
    if (*cursor == '"') {
        // Step into the name and over characters, not bytes: a trail byte may be '"'.
        cursor = CharNextA(cursor);
        while (*cursor != '\0' && *cursor != '"')
            cursor = CharNextA(cursor);
        if (*cursor == '"')
            ++cursor;
    } else {
        while (!isBlankOrControl(*cursor))
            cursor = CharNextA(cursor);
    }
    while (*cursor != '\0' && isBlankOrControl(*cursor))
        ++cursor;
    return cursor;
}

HWND parseWindowHandle(const char* text) {
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + static_cast<std::uint32_t>(*text - '0');
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

SaverRequest parseCommandLine(const char* tail) {
    const char* cursor = tail;
    while (isSeparator(*cursor))
        ++cursor;
    switch (*cursor) {
    case '\0':
        return {SettingsMode, nullptr};
    case 'A':
    case 'a':
        return {ChangePasswordMode, parseWindowHandle(skipSpaces(cursor + 1))};
    case 'C':
    case 'c':
        // Only "c:" carries an owner; "c 1234" names none.
        return {ConfigureMode, cursor[1] == ':' ? parseWindowHandle(cursor + 2) : nullptr};
    case 'L':
    case 'l':
    case 'P':
    case 'p':
        return {PreviewMode, parseWindowHandle(skipSpaces(cursor + 1))};
    case 'S':
    case 's':
        return {FullScreenMode, nullptr};
    default:
        return {RejectedMode, nullptr};
    }
}
