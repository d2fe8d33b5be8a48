// The animation rules of the object kinds as plain functions, so each can be checked
// without a GL context: flash and flicker cycles, fades, focus, flame sizes, the dust
// field's respawn and the meshes' own track search.
#pragma once

#include "script/KeyframeTrack.h"
#include "script/Quaternion.h"
#include "script/Vec3.h"
#include "world/WorldObject.h"

// Brings an angle back into [0, 360) by one addition or subtraction of 360; per-frame
// steps are far smaller than a turn.
float wrapDegreesOnce(float angle);

// Where an object sits that is attached to `parent` at `offset`, given in the parent's
// right, up (right × look) and look axes.
Vec3 attachedPosition(const WorldObject& parent, Vec3 offset);

// Billboard flash: the clock runs in seconds and restarts after dark + lit; the first
// `darkTime` seconds of every cycle draw nothing.
float advanceFlashClock(float clock, double dt, float darkTime, float litTime);
bool flashIsDark(bool hasFlash, float clock, float darkTime);

// Flare opacity: rises by fadeIn per second while seen, falls by fadeOut while hidden,
// kept within 0..1.
float fadeFlareAlpha(float alpha, bool seen, double dt, float fadeIn, float fadeOut);

// One flare flicker cycle, in flicker-clock units (6 per second): hidden until `on`,
// shown until `end`. Draws two random fractions.
struct FlickerCycle {
    float on = 0;
    float end = 0;
};
FlickerCycle nextFlickerCycle(float spread);

// Glow brightness of a focused flare: 1 looking straight along `offset`, falling to 0
// where the angle's cosine reaches `focus`. A threshold of 1 is all or nothing.
float focusFactor(Vec3 offset, Vec3 viewDirection, float focus);
// Extra spin (degrees) of an oriented flare at window point (wx, wy).
float orientRotation(Vec3 orient, float wx, float wy, float windowWidth, float windowHeight);
// A flare counts only inside the letterbox rows, strictly between the bars.
bool insideLetterboxRows(float wy, float windowHeight);

// The ten lens ghosts: position along flare -> screen centre (1 = centre), size factor,
// index of the lens texture.
struct LensGhost {
    float position;
    float size;
    int texture;
};
constexpr int kLensGhostCount = 10;
extern const LensGhost lensGhosts[kLensGhostCount];

// Flame trail: 30 quads shrinking with an eased curve and shading from one colour to another.
constexpr int kFlameQuads = 30;
float flameQuadHalfSize(float size, int i);
Vec3 flameQuadColour(Vec3 from, Vec3 to, int i);

// Emitters: the phase within the period, 0 for a period of 0 (or less).
float emitterPhase(float elapsed, float period);

// Dust field.
Vec3 randomDirection();  // three components 20r - 10, normalised
bool outsideDustShell(float distance);
float dustShade(float distance);  // grey level: fades near 40 and towards 150 units
// Moves one dust particle by its per-frame velocity, then grows the velocity; a particle
// that left the 30.9..160.1 shell around the camera is put back 100..110 units from it,
// at rest. Returns whether it was respawned.
bool stepDustParticle(Vec3& position, Vec3& velocity, Vec3& acceleration, Vec3 cameraPosition);

// Meshes search their track their own way: the first pair with A.time <= t <= B.time;
// when none holds, the first pair at time 0. Returns false (mesh stays put) for an empty
// track or while t is before the first key. A track of one key holds that key's pose.
struct MeshTrackSample {
    const Keyframe* k0 = nullptr;
    const Keyframe* k1 = nullptr;
    float time = 0;
};
bool findMeshSegment(const KeyframeTrack& track, float t, MeshTrackSample& sample);
// look = image of the x axis, right = negated image of the y axis under the rotation.
void axesFromOrientation(Quaternion q, Vec3& look, Vec3& right);
