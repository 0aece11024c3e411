#include "tests/support/demo_catalogue.h"
#include "tests/support/unix_path.h"

#include <windows.h>
#include <stdexcept>

void copyDemoCatalogue(const std::string& folder) {
    const std::string demo = windowsPathOf(ORVIK_DEMO_DIR);
    if (!CopyFileA((demo + "\\OrvikSaver.ini").c_str(), (folder + "\\OrvikSaver.ini").c_str(),
                   FALSE))
        throw std::runtime_error("cannot copy the demo catalogue into " + folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((demo + "\\pictures\\orvik-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        throw std::runtime_error("the demo's pictures are missing");
    do {
        const std::string name = found.cFileName;
        if (!CopyFileA((demo + "\\pictures\\" + name).c_str(), (folder + "\\" + name).c_str(),
                       FALSE))
            throw std::runtime_error("cannot copy " + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
