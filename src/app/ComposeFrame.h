// One frame of the saver run into the back buffer; the main loop swaps it.
#pragma once

#include <vector>

class WorldObject;

// What the frame draws, refilled from the active world at the start of every frame;
// the main loop's update pass walks the same lists (as the previous frame left them).
// Non-owning; capacity is kept, so refilling allocates nothing once warmed up.
struct DrawLists {
    std::vector<WorldObject*> firstPass;
    std::vector<WorldObject*> worldObjects;
    std::vector<WorldObject*> postPass;
};

extern DrawLists drawLists;

// Clear; with an active world: view, first pass, world objects, dynamic objects, post
// pass, dust field, rate window, fades, letterbox bars, clock and frame rate.
void composeFrame();
// update(dt) on the first pass, world objects, dynamic objects and post pass, in order.
void updateDrawLists(double dt);
// Empties the draw lists (at shut-down, before the objects go).
void releaseDrawLists();
