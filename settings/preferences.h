#pragma once
#include <cstdint>

// The user's choices and the resume position: 32-bit values under one per-user key.
inline constexpr char preferenceKey[] = "Software\\Tolvane\\OrvikSaver";

inline constexpr char kSelectedTypeValue[] = "lTypeNo";
inline constexpr char kWallpaperPolicyValue[] = "bwpBuildWp";
inline constexpr char kResumeValue1[] = "lBuildWpValue1";
inline constexpr char kResumeValue2[] = "lBuildWpValue2";
inline constexpr char kResumeValue3[] = "lBuildWpValue3";
inline constexpr char kResumeResolutionValue[] = "lBuildWpRes";

// What "bwpBuildWp" asks of the hand-off at close. The store may hold any other number,
// which the decision takes as Conditional and the dialog shows as Always.
enum class WallpaperPolicy : std::uint32_t {
    Conditional = 0, // only while the wallpaper is ours or a catalogue picture
    Never = 1,
    Always = 2,
};

// The number "bwpBuildWp" stores for a policy.
constexpr std::uint32_t storedPolicy(WallpaperPolicy policy) {
    return static_cast<std::uint32_t>(policy);
}

// The value as a number, 0 when the key or value cannot be read. Raw data of one to four
// bytes gives its bytes as the low-order bytes; longer data and text read as 0.
std::uint32_t readPreference(const char* valueName);

// Writes the value as REG_DWORD, creating the key (and any above it) first.
bool writePreference(const char* valueName, std::uint32_t value);

std::uint32_t loadSelectedType();
void saveSelectedType(std::uint32_t typeNumber);
// The stored number, which need not be one of the three policies.
std::uint32_t loadWallpaperPolicy();
void saveWallpaperPolicy(WallpaperPolicy policy);

// Clears the three resume values; "lBuildWpRes" stays as it is.
void resetSavedPosition();

// The screen size that resume values belong to, as stored in "lBuildWpRes".
inline std::uint32_t resumeResolution(int width, int height) {
    return (static_cast<std::uint32_t>(height & 0xFFFF) << 16) |
           static_cast<std::uint32_t>(width & 0xFFFF);
}
