#include "tests/scene/scene_test_support.h"

#include <cstdlib>

int RecordingPacer::waits() const {
    int count = 0;
    for (const Event& e : events)
        count += e.wait;
    return count;
}

void appendPair(std::string& text, int x, int y) {
    text += ',';
    text += std::to_string(x);
    text += ',';
    text += std::to_string(y);
}

SceneSetup foundType(std::int32_t moveType, int screenWidth, int screenHeight) {
    SceneSetup setup;
    setup.fullScreen = true;
    setup.screenWidth = screenWidth;
    setup.screenHeight = screenHeight;
    setup.typeRead = true;
    setup.moveType = moveType;
    setup.parameters.waypointCount = 1;
    return setup;
}
