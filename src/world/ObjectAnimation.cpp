#include "world/ObjectAnimation.h"

#include "script/Maths.h"
#include "script/Random.h"

Vec3 attachedPosition(const WorldObject& parent, Vec3 offset) {
    Vec3 r = parent.right, l = parent.look;
    Vec3 u = cross(r, l);
    return parent.position + r * offset.x + u * offset.y + l * offset.z;
}

float wrapDegreesOnce(float angle) {
    if (angle >= 360) return angle - 360;
    if (angle < 0) return angle + 360;
    return angle;
}

float advanceFlashClock(float clock, double dt, float darkTime, float litTime) {
    clock = static_cast<float>(clock + dt);
    float cycle = darkTime + litTime;
    if (clock > cycle) clock -= cycle;
    return clock;
}

bool flashIsDark(bool hasFlash, float clock, float darkTime) { return hasFlash && clock < darkTime; }

float fadeFlareAlpha(float alpha, bool seen, double dt, float fadeIn, float fadeOut) {
    if (seen) {
        if (alpha < 1) alpha = static_cast<float>(alpha + dt * fadeIn);
        if (alpha > 1) alpha = 1;
    } else {
        if (alpha > 0) alpha = static_cast<float>(alpha - dt * fadeOut);
        if (alpha < 0) alpha = 0;
    }
    return alpha;
}

FlickerCycle nextFlickerCycle(float spread) {
    FlickerCycle cycle;
    float r1 = randomFraction();
    float r2 = randomFraction();
    float on = r1 * spread + 0.1f;
    cycle.end = 6 * (r2 * spread + on + 0.1f);
    cycle.on = 6 * on;
    return cycle;
}

float focusFactor(Vec3 offset, Vec3 viewDirection, float focus) {
    float d = dot(normalize(offset), viewDirection);
    if (focus == 1) return d >= 1 ? 1.0f : 0.0f;  // the ramp has no width: all or nothing
    float q = (d - focus) / (1 - focus);
    return q > 0 ? q : 0;
}

float orientRotation(Vec3 orient, float wx, float wy, float windowWidth, float windowHeight) {
    Vec3 centre = make(windowWidth / 2, windowHeight / 2, 0);
    return 90 * dot(normalize(orient - centre), normalize(make(wx, wy, 0)));
}

bool insideLetterboxRows(float wy, float windowHeight) {
    return windowHeight * 0.125f < wy && wy < windowHeight * 0.875f;
}

const LensGhost lensGhosts[kLensGhostCount] = {
    {-0.05f, 1.0f, 2}, {0.21f, 0.1f, 0}, {0.32f, 0.5f, 2}, {0.7f, 0.1f, 2},  {0.85f, 0.2f, 2},
    {0.89f, 0.03f, 1}, {1.21f, 0.05f, 2}, {1.39f, 0.2f, 0}, {1.44f, 0.1f, 2}, {1.8f, 0.4f, 2},
};

float flameQuadHalfSize(float size, int i) {
    float e = static_cast<float>(i) / kFlameQuads;
    return 2 * size * ease(1 - e, 0.1f, 0.8f);
}

Vec3 flameQuadColour(Vec3 from, Vec3 to, int i) {
    float e = static_cast<float>(i) / kFlameQuads;
    return from + (to - from) * e;
}

float emitterPhase(float elapsed, float period) {
    if (!(period > 0)) return 0;  // no period: the emitter stands still
    return elapsed / period;
}

Vec3 randomDirection() {
    float x = 20 * randomFraction() - 10;
    float y = 20 * randomFraction() - 10;
    float z = 20 * randomFraction() - 10;
    return normalize(make(x, y, z));
}

bool outsideDustShell(float distance) { return distance > 160.1f || distance < 30.9f; }

float dustShade(float distance) { return 1 - ease((distance - 40) / 110, 0.2f, 0.2f); }

bool stepDustParticle(Vec3& position, Vec3& velocity, Vec3& acceleration, Vec3 cameraPosition) {
    position = position + velocity;
    velocity = velocity + acceleration;
    if (!outsideDustShell(length(position - cameraPosition))) return false;
    Vec3 direction = randomDirection();
    position = cameraPosition + direction * (100 + 10 * randomFraction());
    velocity = make(0, 0, 0);
    acceleration = make(0, 0, 0);
    return true;
}

bool findMeshSegment(const KeyframeTrack& track, float t, MeshTrackSample& sample) {
    if (track.empty()) return false;
    const auto& keys = track.keys;
    if (keys[0].time > t) return false;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        if (keys[i].time <= t && t <= keys[i + 1].time) {
            sample = {&keys[i], &keys[i + 1], t};
            return true;
        }
    }
    const Keyframe* second = keys.size() > 1 ? &keys[1] : &keys[0];
    sample = {&keys[0], second, 0};
    return true;
}

void axesFromOrientation(Quaternion q, Vec3& look, Vec3& right) {
    float m[16];
    toMatrix(q, m);
    look = make(m[0], m[4], m[8]);
    right = negate(make(m[1], m[5], m[9]));
}
