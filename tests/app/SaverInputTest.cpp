#include <gtest/gtest.h>

#include "app/SaverInput.h"
#include "platform/KeyCodes.h"

namespace {

platform::Event key(platform::EventType type, int code, bool system = false) {
    platform::Event event;
    event.type = type;
    event.key = code;
    event.systemKey = system;
    return event;
}

platform::Event move(int x, int y) {
    platform::Event event;
    event.type = platform::EventType::MouseMove;
    event.x = x;
    event.y = y;
    return event;
}

TEST(SaverInput, AnyKeyEndsButSystemKeysAndClicksDoNot) {
    for (int code : {platform::kKeySpace, platform::kKeyEscape, platform::kKeyShift, platform::kKeyA, platform::kKeyOther}) {
        SaverState state;
        EXPECT_FALSE(applyEvent(state, key(platform::EventType::KeyDown, code), 400, 300));
        EXPECT_TRUE(state.keyDown[0]) << code;
        EXPECT_TRUE(state.keyDown[code]);
        applyEvent(state, key(platform::EventType::KeyUp, code), 400, 300);
        EXPECT_FALSE(state.keyDown[code]);
        EXPECT_TRUE(state.keyDown[0]);  // never cleared
    }
    SaverState state;
    applyEvent(state, key(platform::EventType::KeyDown, platform::kKeyAlt, true), 400, 300);
    applyEvent(state, key(platform::EventType::KeyDown, platform::kKeyF10, true), 400, 300);
    applyEvent(state, key(platform::EventType::KeyDown, platform::kKeyA + 5, true), 400, 300);
    platform::Event click;
    click.type = platform::EventType::MouseButton;
    applyEvent(state, click, 400, 300);
    for (bool down : state.keyDown) EXPECT_FALSE(down);

    // Codes out of the table's range still end the run but write nothing else.
    onKeyDown(state, 1000);
    onKeyDown(state, -4);
    onKeyUp(state, 256);
    EXPECT_TRUE(state.keyDown[0]);

    platform::Event quit;
    quit.type = platform::EventType::Quit;
    EXPECT_TRUE(applyEvent(state, quit, 400, 300));
}

// Moves the pointer to (x, y), lets the loop consume the offsets, as one frame would.
bool frameAfterMove(SaverState& state, int x, int y, bool mouseExit) {
    applyEvent(state, move(x, y), 400, 300);
    consumeMouseOffsets(state);
    return mouseTravelEnds(state, mouseExit);
}

TEST(SaverInput, MouseTravel) {
    SaverState state;
    applyEvent(state, move(410, 290), 400, 300);
    EXPECT_FLOAT_EQ(state.mouseOffsetX, 3.0f);
    EXPECT_FLOAT_EQ(state.mouseOffsetY, -3.0f);
    applyEvent(state, move(400, 305), 400, 300);  // replaces, does not add
    EXPECT_FLOAT_EQ(state.mouseOffsetX, 0.0f);
    EXPECT_FLOAT_EQ(state.mouseOffsetY, 1.5f);
    EXPECT_TRUE(consumeMouseOffsets(state));
    EXPECT_FLOAT_EQ(state.mouseTravel, 1.5f);
    EXPECT_FALSE(consumeMouseOffsets(state));  // nothing pending: no re-centring

    // Left and up only: never ends, however far.
    SaverState away;
    for (int i = 0; i < 100; ++i) {
        EXPECT_FALSE(frameAfterMove(away, 300, 300, true));
        EXPECT_FALSE(frameAfterMove(away, 400, 200, true));
    }
    // 23 pixels right and down (6.9) stays; 24 (7.2) ends, only with MouseExit on.
    SaverState near;
    EXPECT_FALSE(frameAfterMove(near, 413, 300, true));
    EXPECT_FALSE(frameAfterMove(near, 400, 310, true));
    SaverState beyond = near;
    EXPECT_TRUE(frameAfterMove(beyond, 401, 300, true));
    EXPECT_FALSE(mouseTravelEnds(beyond, false));
    // Back and forth nets out.
    SaverState wobble;
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(frameAfterMove(wobble, 420, 300, true));
        EXPECT_FALSE(frameAfterMove(wobble, 380, 300, true));
    }
}

TEST(SaverInput, SceneClockRunsAtTheCameraSpeed) {
    const float factors[] = {1.0f, 1.5f, 2.0f, 2.5f};
    for (unsigned timeScale = 0; timeScale < 4; ++timeScale) {
        float factor = cameraSpeedFactor(timeScale);
        EXPECT_FLOAT_EQ(factor, factors[timeScale]);
        float clock = 0;
        for (int frame = 0; frame < 60; ++frame) clock = advanceSceneClock(clock, factor, 1.0 / 60);
        EXPECT_NEAR(clock, factors[timeScale], 1e-5);
    }
    EXPECT_FLOAT_EQ(advanceSceneClock(10, 1.0f, 0), 10);
}

}  // namespace
