#pragma once
#include <cstddef>

// Fixed capacities of the program's text buffers, terminating NUL included.
inline constexpr std::size_t kPathCapacity = 520;
inline constexpr std::size_t kShortTextCapacity = 100;

// Copies the first sourceLength bytes of source (all of it by default) into destination,
// cut to capacity - 1 bytes and always terminated. A cut never splits a double-byte
// character of the active code page. Returns false when the text had to be cut.
bool copyText(char* destination, std::size_t capacity, const char* source,
              std::size_t sourceLength = static_cast<std::size_t>(-1));

// Appends source to the text in destination; returns false, leaving destination
// unchanged, when the result would not fit in capacity.
bool appendText(char* destination, std::size_t capacity, const char* source);
