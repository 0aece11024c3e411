#pragma once
#include <string>

// A path of this Linux machine as the Windows programs under Wine see it (drive Z:).
std::string windowsPathOf(const char* unixPath);
