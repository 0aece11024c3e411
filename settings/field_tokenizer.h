#pragma once
#include <cstddef>
#include <cstdint>

// Splits the catalogue's comma-separated list values. Each call takes the field that
// starts at cursor and returns the cursor of the next field: just past the comma, or
// the terminating NUL when the field was the last. At the NUL a field is empty (0 for
// numbers) and the returned cursor equals the given one, which is how callers stop.
// The comma is searched character by character in the active code page.

// Copies the field into destination (when not null), cut to capacity - 1 characters;
// *cut (when not null) tells whether it had to be cut.
const char* nextTextField(const char* cursor, char* destination, std::size_t capacity,
                          bool* cut = nullptr);

// What an integer field held, for the tools that tell authors why a value reads as it does.
enum class IntFieldForm {
    Number,       // digits (with sign and blanks), nothing else
    Empty,        // nothing, or blanks only: reads as 0
    NotANumber,   // does not start with a number: reads as 0
    TrailingText, // a number followed by other text ("12px"), which is ignored
    Saturated,    // beyond 32 bits: reads as the nearest 32-bit value
};

// Converts the field as a signed decimal number: leading blanks skipped, an optional
// sign, digits up to the first other character ("12px" gives 12). A field that does not
// start with a number gives 0; values beyond 32 bits saturate. *form, when given, says
// which of these it was.
const char* nextIntField(const char* cursor, std::int32_t* destination,
                         IntFieldForm* form = nullptr);
