// OrvikCheck.exe started as an author starts it: what it prints and how it ends.
#include "tests/support/console_run.h"
#include "tests/support/demo_catalogue.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unix_path.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string pseudoRandomBytes(std::size_t count) {
    std::string bytes;
    for (std::uint32_t state = 4242; bytes.size() < count;) {
        state = state * 1103515245u + 12345u;
        const char byte = static_cast<char>(state >> 16);
        bytes.push_back(byte == '[' ? ']' : byte); // never a section by chance
    }
    return bytes;
}

struct ProgramCase {
    const char* name;
    std::string arguments; // after the program's name; {} stands for the temporary folder
    void (*prepare)(const TempFolder&);
    DWORD exitCode;
    std::string output; // a part of standard output, or of standard error
};

const ProgramCase kCases[] = {
    {"MissingCatalogue", "\"{}\\absent.ini\"", [](const TempFolder&) {}, 2,
     "OrvikCheck: cannot read "},
    {"FolderForACatalogue", "\"{}\\folder.ini\"",
     [](const TempFolder& t) { CreateDirectoryA(t.file("folder.ini").c_str(), nullptr); }, 2,
     "folder.ini: is a folder, not a catalogue"},
    {"RandomBytes", "\"{}\\noise.ini\"",
     [](const TempFolder& t) { t.writeFile("noise.ini", pseudoRandomBytes(20000)); }, 2,
     "it holds no [section] line: it is no catalogue"},
    {"EmptyFile", "\"{}\\empty.ini\"", [](const TempFolder& t) { t.writeFile("empty.ini", ""); }, 2,
     "empty.ini: it is empty"},
    // A line of 200,000 characters: the name is cut, the type still checked.
    {"OverlongLine", "\"{}\\long.ini\" --screen 640x480",
     [](const TempFolder& t) {
         t.writeFile("long.ini", "[Type00]\r\nName=" + std::string(200000, 'n') +
                                     "\r\nMoveType=1\r\nFile.1024x0768=a.bmp\r\n");
     },
     1, "long.ini(2): warning: [Type00] Name: the name is 200000 characters long"},
    {"NoTypeAtAll", "\"{}\\general.ini\" --screen 800x600",
     [](const TempFolder& t) { t.writeFile("general.ini", "[General]\r\nScrStartStyle=1\r\n"); }, 1,
     "error: the catalogue names no type"},
    {"ScreenOfNoPixels", "\"{}\\any.ini\" --screen 0x768", [](const TempFolder&) {}, 2,
     "--screen 0x768: give the size as WIDTHxHEIGHT"},
    {"ScreenWithoutValue", "--screen", [](const TempFolder&) {}, 2, "--screen needs a value"},
    {"UnknownOption", "--colour", [](const TempFolder&) {}, 2, "unknown option --colour"},
    {"TwoCatalogues", "a.ini b.ini", [](const TempFolder&) {}, 2, "one catalogue at a time"},
    {"SheetIntoAFile", "\"{}\\OrvikSaver.ini\" --screen 640x480 --sheet \"{}\\file\"",
     [](const TempFolder& t) {
         copyDemoCatalogue(t.path());
         t.writeFile("file", "x");
     },
     2, "cannot write the sheet"},
    {"DemoCatalogue", "\"{}\\OrvikSaver.ini\" --screen 1024x768",
     [](const TempFolder& t) { copyDemoCatalogue(t.path()); }, 0,
     "5 types at 1 screen size (1024x768): 0 errors, 0 warnings"},
};

class CheckerProgram : public testing::TestWithParam<ProgramCase> {};

TEST_P(CheckerProgram, EndsWithAClearMessageAndItsExitCode) {
    const ProgramCase& c = GetParam();
    TempFolder folder;
    c.prepare(folder);
    std::string arguments = c.arguments;
    for (std::size_t at; (at = arguments.find("{}")) != std::string::npos;)
        arguments.replace(at, 2, folder.path());
    const ConsoleRun run = runConsoleProgram(windowsPathOf(ORVIK_CHECK_FILE), arguments);
    ASSERT_TRUE(run.finished) << "it did not end";
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output << run.errors;
    EXPECT_NE((run.output + run.errors).find(c.output), std::string::npos)
        << run.output << run.errors;
    // A failure to start is said on standard error, a report goes to standard output.
    if (c.exitCode == 2)
        EXPECT_FALSE(run.errors.empty());
    else
        EXPECT_TRUE(run.errors.empty()) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(Table, CheckerProgram, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ProgramCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
