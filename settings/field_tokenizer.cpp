#include "settings/field_tokenizer.h"
#include "settings/text_buffer.h"

#include <windows.h>
#include <climits>

namespace {

// The comma that ends the field, or the terminating NUL.
const char* fieldEnd(const char* cursor) {
    while (*cursor && *cursor != ',')
        cursor = CharNextA(cursor);
    return cursor;
}

const char* afterField(const char* end) {
    return *end == ',' ? end + 1 : end;
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

const char* nextTextField(const char* cursor, char* destination, std::size_t capacity, bool* cut) {
    const char* end = fieldEnd(cursor);
    bool fits = true;
    if (destination)
        fits = copyText(destination, capacity, cursor, static_cast<std::size_t>(end - cursor));
    if (cut)
        *cut = !fits;
    return afterField(end);
}

const char* nextIntField(const char* cursor, std::int32_t* destination, IntFieldForm* form) {
    const char* end = fieldEnd(cursor);
    const char* p = cursor;
    while (p < end && isBlank(*p))
        ++p;
    const char* numberStart = p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char* digits = p;
    long long value = 0;
    bool saturated = false;
    while (p < end && *p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
            saturated = true;
        }
    }
    if (negative)
        value = -value;
    if (value > INT_MAX) {
        value = INT_MAX;
        saturated = true;
    }
    if (destination)
        *destination = static_cast<std::int32_t>(value);
    if (form) {
        const char* rest = p;
        while (rest < end && isBlank(*rest))
            ++rest;
        if (p == digits)
            *form = numberStart == end ? IntFieldForm::Empty : IntFieldForm::NotANumber;
        else if (saturated)
            *form = IntFieldForm::Saturated;
        else
            *form = rest == end ? IntFieldForm::Number : IntFieldForm::TrailingText;
    }
    return afterField(end);
}
