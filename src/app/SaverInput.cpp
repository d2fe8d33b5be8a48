#include "app/SaverInput.h"

bool applyEvent(SaverState& state, const platform::Event& event, int centreX, int centreY) {
    switch (event.type) {
        case platform::EventType::KeyDown:
            if (!event.systemKey) onKeyDown(state, event.key);
            return false;
        case platform::EventType::KeyUp:
            if (!event.systemKey) onKeyUp(state, event.key);
            return false;
        case platform::EventType::MouseMove:
            onMouseMove(state, event.x, event.y, centreX, centreY);
            return false;
        case platform::EventType::Quit:
            return true;
        default:
            return false;
    }
}

void onKeyDown(SaverState& state, int virtualKey) {
    state.keyDown[0] = true;
    if (virtualKey > 0 && virtualKey < 256) state.keyDown[virtualKey] = true;
}

void onKeyUp(SaverState& state, int virtualKey) {
    if (virtualKey > 0 && virtualKey < 256) state.keyDown[virtualKey] = false;
}

void onMouseMove(SaverState& state, int x, int y, int centreX, int centreY) {
    state.mouseOffsetX = static_cast<float>(x - centreX) * 0.3f;
    state.mouseOffsetY = static_cast<float>(y - centreY) * 0.3f;
}

bool consumeMouseOffsets(SaverState& state) {
    bool moved = false;
    if (state.mouseOffsetX != 0) {
        state.mouseTravel += state.mouseOffsetX;
        state.mouseOffsetX = 0;
        moved = true;
    }
    if (state.mouseOffsetY != 0) {
        state.mouseTravel += state.mouseOffsetY;
        state.mouseOffsetY = 0;
        moved = true;
    }
    return moved;
}

bool mouseTravelEnds(const SaverState& state, bool mouseExit) { return mouseExit && state.mouseTravel > 7; }

float cameraSpeedFactor(std::uint32_t timeScale) { return static_cast<float>(timeScale) * 0.5f + 1.0f; }

float advanceSceneClock(float sceneClock, float speedFactor, double dt) {
    return static_cast<float>(sceneClock + speedFactor * dt);
}
