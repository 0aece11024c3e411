#pragma once
#include <windows.h>
#include <string>

// A console program run to its end with its output captured, as a shell would run it.
struct ConsoleRun {
    bool finished = false; // false: it could not start, or outran the bound and was ended
    DWORD exitCode = 0;
    std::string output; // standard output
    std::string errors; // standard error
};

ConsoleRun runConsoleProgram(const std::string& commandLine, DWORD boundMs = 120000);
// The program (its name quoted) with these arguments.
ConsoleRun runConsoleProgram(const std::string& program, const std::string& arguments,
                             DWORD boundMs = 120000);
