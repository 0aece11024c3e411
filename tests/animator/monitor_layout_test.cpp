#include "animator/monitor_layout.h"

#include <gtest/gtest.h>

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
