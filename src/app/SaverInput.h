// The rules that turn window input into the run's exit decisions, and the scene clock.
#pragma once

#include <cstdint>

#include "app/SaverState.h"
#include "platform/Platform.h"

// Feeds one event into the state. Returns true for the quit message.
bool applyEvent(SaverState& state, const platform::Event& event, int centreX, int centreY);

void onKeyDown(SaverState& state, int virtualKey);
void onKeyUp(SaverState& state, int virtualKey);
// Offsets of the pointer from the window centre, times 0.3, replacing the previous ones.
void onMouseMove(SaverState& state, int x, int y, int centreX, int centreY);
// Adds pending offsets to the travel and zeroes them; true when the cursor must go back
// to the centre.
bool consumeMouseOffsets(SaverState& state);
// Net travel to the right and down beyond 7 within one rate window ends the run.
bool mouseTravelEnds(const SaverState& state, bool mouseExit);

float cameraSpeedFactor(std::uint32_t timeScale);
float advanceSceneClock(float sceneClock, float speedFactor, double dt);
