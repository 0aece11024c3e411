// OrvikCheck: checks a catalogue as the saver reads it, names every problem in the form
// compilers use, and can write a sheet of the first frame of every type at every size.
#include "check/catalogue_check.h"
#include "check/report_text.h"
#include "settings/catalogue_path.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kExitErrors = 1;
constexpr int kExitUnusable = 2; // the catalogue cannot be read, or the request is wrong

const char kUsage[] =
    "usage: OrvikCheck [catalogue.ini] [--screen WxH]... [--sheet FOLDER]\n"
    "  catalogue.ini  the catalogue to check; OrvikSaver.ini beside OrvikCheck by default\n"
    "  --screen WxH   a screen size to check (more than one may be given); by default the\n"
    "                 sizes of the catalogue's File keys and 1024x768, 1366x768, 1920x1080,\n"
    "                 2560x1440 and 3840x2160\n"
    "  --sheet FOLDER writes the first frame of every type at every size, and index.html\n"
    "exit code: 0 no errors, 1 errors, 2 the catalogue cannot be read\n";

// Text in the active code page, as the catalogue's names are. A console shows it through
// its own code page, which may differ (OEM against ANSI), so it gets the text as UTF-16.
void write(FILE* stream, const std::string& text) {
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const int length =
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
        if (length > 0 && MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                              wide.data(), length) == length) {
            DWORD written = 0;
            if (WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                              nullptr))
                return;
        }
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

int usageError(const std::string& message) {
    write(stderr, "OrvikCheck: " + message + "\n" + kUsage);
    return kExitUnusable;
}

bool parseScreen(const char* text, ScreenSize& screen) {
    unsigned width = 0, height = 0;
    char x = 0, rest = 0;
    if (std::sscanf(text, "%5u%c%5u%c", &width, &x, &height, &rest) != 3 || (x != 'x' && x != 'X'))
        return false;
    // Larger than any screen; a frame of it would not fit in memory either.
    if (width == 0 || height == 0 || width > 16384 || height > 16384)
        return false;
    screen = {static_cast<int>(width), static_cast<int>(height)};
    return true;
}

std::string besideProgram(const char* name) {
    char path[MAX_PATH * 4] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return name;
    cutAfterLastBackslash(path); // a double-byte name's trail byte is no backslash
    return std::string(path) + name;
}

} // namespace

int main(int argc, char** argv) {
    CheckRequest request;
    bool catalogueGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!std::strcmp(argument, "--help") || !std::strcmp(argument, "-h") ||
            !std::strcmp(argument, "/?")) {
            write(stdout, kUsage);
            return 0;
        }
        if (!std::strcmp(argument, "--screen") || !std::strcmp(argument, "--sheet")) {
            if (i + 1 >= argc)
                return usageError(std::string(argument) + " needs a value");
            const char* value = argv[++i];
            if (!std::strcmp(argument, "--screen")) {
                ScreenSize screen;
                if (!parseScreen(value, screen))
                    return usageError(std::string("--screen ") + value +
                                      ": give the size as WIDTHxHEIGHT, each 1 to 16384");
                request.screens.push_back(screen);
            } else {
                request.sheetFolder = value;
            }
            continue;
        }
        if (argument[0] == '-' && argument[1] == '-')
            return usageError(std::string("unknown option ") + argument);
        if (catalogueGiven)
            return usageError(std::string("one catalogue at a time (") + argument + "?)");
        request.cataloguePath = argument;
        catalogueGiven = true;
    }
    if (!catalogueGiven)
        request.cataloguePath = besideProgram("OrvikSaver.ini");

    CheckReport report;
    std::string why;
    const CheckStatus status = checkCatalogue(request, report, why);
    if (status == CheckStatus::Unreadable) {
        write(stderr, "OrvikCheck: cannot read " + report.cataloguePath + ": " + why + "\n");
        return kExitUnusable;
    }
    write(stdout, reportText(report));
    if (status == CheckStatus::SheetFailed) {
        write(stderr, "OrvikCheck: cannot write the sheet: " + why + "\n");
        return kExitUnusable;
    }
    return report.errorCount() > 0 ? kExitErrors : 0;
}
