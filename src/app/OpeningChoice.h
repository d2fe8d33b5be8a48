// The run's random opening: scene file number, galaxy world and starting variant.
#pragma once

struct OpeningChoice {
    int sceneNumber = 0;  // 0..3: "scene%d.txt"
    int world = 0;        // 0..2: index into kOpeningWorlds
    int variant = 0;      // 0..3: the starting variant counter
};

extern const char* const kOpeningWorlds[3];

// trunc(draw / 32767 * scale) in single precision; draw is 0..32767.
int scaleDraw(int draw, float scale);
// From three successive draws, in the order scene, world, variant.
OpeningChoice chooseOpening(int sceneDraw, int worldDraw, int variantDraw);
