#include "app/OpeningChoice.h"

const char* const kOpeningWorlds[3] = {"blue_galaxy", "green_galaxy", "red_galaxy"};

int scaleDraw(int draw, float scale) {
    // A draw outside 0..32767 would pick past the end of the world names.
    if (draw < 0) draw = 0;
    if (draw > 32767) draw = 32767;
    return static_cast<int>(static_cast<float>(draw) / 32767.0f * scale);
}

OpeningChoice chooseOpening(int sceneDraw, int worldDraw, int variantDraw) {
    OpeningChoice choice;
    choice.sceneNumber = scaleDraw(sceneDraw, 3.9f);
    choice.world = scaleDraw(worldDraw, 2.9f);
    choice.variant = scaleDraw(variantDraw, 3.8f);
    return choice;
}
