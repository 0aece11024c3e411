#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The notice of a type that cannot be shown, as the saver shows it: resource 105 of the
// installed program, stretched to the primary screen; its rows at the given heights.
// Empty when the program has no such picture.
std::vector<std::vector<COLORREF>> noticeRows(const std::string& program,
                                              const std::vector<int>& heights);

// Whether the screen shows those rows now (within a step of rounding).
bool screenShows(const std::vector<std::vector<COLORREF>>& rows, const std::vector<int>& heights);
