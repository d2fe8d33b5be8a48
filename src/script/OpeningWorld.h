// The saver start's opening: scene file, world and variant counter.
#pragma once

// sceneFile becomes the camera's next scene file, the named world the active world (the
// first world of the list when it is missing, with a message on stderr) and its scene
// folder the camera's, and variant the variant counter.
void applyOpeningChoice(const char* sceneFile, const char* worldName, int variant);
