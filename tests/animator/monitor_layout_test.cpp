#include "animator/monitor_layout.h"
#include "animator/monitor_resume.h"
#include "settings/monitor_records.h"
#include "settings/preferences.h"
#include "tests/support/registry_guard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// Found by the comparison of the lists, beside the type it compares.
static bool operator==(const MonitorArea& a, const MonitorArea& b) {
    return EqualRect(&a.rect, &b.rect) && a.primary == b.primary;
}

// The window covers the virtual screen, whose corner may lie at negative coordinates when
// a monitor lies left of or above the primary; each monitor's part is taken in the
// window's coordinates.
TEST(MonitorLayout, EachMonitorGetsItsPartOfTheWindowInTheWindowsCoordinates) {
    struct Case {
        const char* what;
        RECT window;
        std::vector<MonitorArea> monitors;
        std::vector<MonitorArea> areas;
    } cases[] = {
        {"one monitor",
         {0, 0, 1024, 768},
         {{{0, 0, 1024, 768}, true}},
         {{{0, 0, 1024, 768}, true}}},
        {"a second monitor right of the primary, lower",
         {0, 0, 3200, 1080},
         {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}, false}},
         {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}, false}}},
        {"a monitor left of and higher than the primary",
         {-1280, -200, 1920, 1080},
         {{{0, 0, 1920, 1080}, true}, {{-1280, -200, 0, 824}, false}},
         {{{1280, 200, 3200, 1280}, true}, {{0, 0, 1280, 1024}, false}}},
        {"a monitor above the primary",
         {0, -1024, 1920, 1080},
         {{{320, -1024, 1600, 0}, false}, {{0, 0, 1920, 1080}, true}},
         {{{320, 0, 1600, 1024}, false}, {{0, 1024, 1920, 2104}, true}}},
        {"a monitor the window does not reach",
         {0, 0, 1920, 1080},
         {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}, false}},
         {{{0, 0, 1920, 1080}, true}}},
        {"no monitor listed", {-10, -20, 630, 460}, {}, {{{0, 0, 640, 480}, true}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layOutMonitorAreas(c.window, c.monitors), c.areas) << c.what;
}

// The other monitors resume only on the layout their records were made on, from a value of
// the right type and size; any other layout resumes the primary alone.
TEST(MonitorLayout, OtherMonitorsResumeOnlyOnTheLayoutOfTheirRecords) {
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
    const std::vector<MonitorArea> twoRight = {{{0, 0, 1920, 1080}, true},
                                               {{1920, 0, 3200, 1024}, false}};
    const std::vector<MonitorArea> twoLeft = {{{1280, 0, 3200, 1080}, true},
                                              {{0, 0, 1280, 1024}, false}};
    const std::int32_t right[] = {1920, 0, 3200, 1024, 300, -4, 2};
    const std::int32_t left[] = {-1280, 0, 0, 1024, 77, 0, 0};
    const std::int32_t two[] = {1920, 0, 3200, 1024, 300, -4, 2, 3200, 0, 4480, 1024, 5, 5, 5};
    struct Case {
        const char* what;
        std::vector<MonitorArea> areas;
        POINT origin;
        const void* data;
        DWORD size;
        DWORD type;
        std::vector<std::int32_t> expected; // value1 of each other monitor; empty: none
    } cases[] = {
        {"the same layout", twoRight, {0, 0}, right, sizeof right, REG_BINARY, {300}},
        {"a window whose corner lies left of the primary",
         twoLeft,
         {-1280, 0},
         left,
         sizeof left,
         REG_BINARY,
         {77}},
        {"another layout", twoLeft, {-1280, 0}, right, sizeof right, REG_BINARY, {}},
        {"a monitor of the stored layout gone", twoRight, {0, 0}, two, sizeof two, REG_BINARY, {}},
        {"a record cut short", twoRight, {0, 0}, right, sizeof right - 1, REG_BINARY, {}},
        {"not binary", twoRight, {0, 0}, right, sizeof right, REG_SZ, {}},
        {"no records", twoRight, {0, 0}, nullptr, 0, REG_BINARY, {}},
    };
    for (const Case& c : cases) {
        deleteRegistryValue(preferenceKey, kMonitorRecordsValue);
        if (c.data)
            setRegistryValue(preferenceKey, kMonitorRecordsValue, c.type, c.data, c.size);
        std::vector<std::int32_t> got;
        for (const ResumeValues& values : resumeOfOtherMonitors(c.areas, c.origin))
            got.push_back(values.value1);
        EXPECT_EQ(got, c.expected) << c.what;
    }
    // Written as read back.
    ASSERT_TRUE(saveMonitorRecords({{1920, 0, 3200, 1024, 300, -4, 2}}));
    const std::vector<ResumeValues> back = resumeOfOtherMonitors(twoRight, {0, 0});
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].value2, -4);
    EXPECT_EQ(back[0].value3, 2);
}
