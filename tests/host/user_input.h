#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

// Input as a user gives it, through the system's input queue.
void pressKeys(std::initializer_list<WORD> keys); // each key down and up, in one batch
void clickLeftButton();
// A relative move; the system's acceleration leaves moves of a few pixels exact.
void moveMouseBy(int dx, int dy);

// One row of the screen as it is shown, across every monitor (from the virtual screen's left
// edge).
std::vector<COLORREF> readScreenRow(int y);
