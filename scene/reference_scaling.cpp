#include "scene/reference_scaling.h"

#include <algorithm>
#include <limits>

std::int32_t scaleFromReference(std::int32_t value, std::int32_t size, std::int32_t reference) {
    if (reference == 0)
        return value;
    std::int64_t scaled = static_cast<std::int64_t>(value) * size / reference;
    if (value < 0 && scaled == 0)
        return -1;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(scaled, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}
