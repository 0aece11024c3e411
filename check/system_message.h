#pragma once
#include <windows.h>
#include <string>

// The system's own text for an error code, without its closing full stop.
std::string systemMessage(DWORD code);
