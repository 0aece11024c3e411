#pragma once
#include <cstdint>

// The resolution for which a type's positions, sizes and velocities are given when the
// catalogue has no entry for the real screen.
inline constexpr std::int32_t kReferenceWidth = 1024;
inline constexpr std::int32_t kReferenceHeight = 768;

// value x size / reference, truncated toward zero; a negative value never becomes 0 (it
// gives -1), so a negative position still means centred and a negative velocity keeps its
// direction. Computed wide and saturated to 32 bits instead of overflowing.
std::int32_t scaleFromReference(std::int32_t value, std::int32_t size, std::int32_t reference);
