#include "settings/text_buffer.h"

#include <windows.h>
#include <cstring>

bool copyText(char* destination, std::size_t capacity, const char* source,
              std::size_t sourceLength) {
    if (capacity == 0)
        return false;
    const char* end = source;
    while (*end && static_cast<std::size_t>(end - source) < sourceLength)
        end = CharNextA(end);
    std::size_t length = static_cast<std::size_t>(end - source);
    if (length <= capacity - 1) {
        std::memcpy(destination, source, length);
        destination[length] = '\0';
        return true;
    }
    // Too long: keep whole characters only.
    const char* kept = source;
    for (const char* next = CharNextA(kept);
         next != kept && static_cast<std::size_t>(next - source) <= capacity - 1;
         next = CharNextA(kept))
        kept = next;
    std::size_t keptLength = static_cast<std::size_t>(kept - source);
    std::memcpy(destination, source, keptLength);
    destination[keptLength] = '\0';
    return false;
}

bool appendText(char* destination, std::size_t capacity, const char* source) {
    std::size_t used = std::strlen(destination);
    std::size_t added = std::strlen(source);
    if (used + added + 1 > capacity)
        return false;
    std::memcpy(destination + used, source, added + 1);
    return true;
}
