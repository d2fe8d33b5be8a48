#include "script/Camera.h"

#include <cstdio>

#include "script/Maths.h"
#include "script/Random.h"

float sceneClock = 0;
int variantCounter = 0;
World* activeWorld = nullptr;
World* pendingWorld = nullptr;
bool fogEnabled = false;
bool particleFieldOn = true;
FadeWindow fadeOutBlack;
FadeWindow fadeInBlack;
FadeWindow fadeOutWhite;
FadeWindow fadeInWhite;
SceneFog sceneFog;
EnvironmentList environmentList;
WorldList worldList;
ObjectList dynamicObjects;
// Defined after the values it writes, so its construction sees them initialised.
Camera camera;

Camera::Camera() { variantCounter = randomPick(3.8f); }

void Camera::place() {
    position = Vec3{0, 0, 1500};
    direction = Vec3{0, 0, -1};
    up = Vec3{0, 1, 0};
}

void Camera::sceneMemberName(char* out, int capacity) const {
    std::snprintf(out, capacity, "%s%s", sceneDir, sceneFile);
}

void Camera::updateCamera() {
    if (track.empty()) return;
    float t = sceneClock;
    TrackSegment segment = locateSegment(track, t);
    if (segment.wrapped) {
        t = 0;
        sceneClock = 0;
        sceneEnded = true;
    }
    time = t;
    if (segment.k0->freeze) {
        position = segment.k0->position;
        return;
    }
    TrackPoint point = evaluateSegment(*segment.k0, *segment.k1, t);
    position = point.position;
    orientation = point.orientation;
    float m[16];
    toMatrix(orientation, m);
    direction = Vec3{m[0], m[4], m[8]};
    up = Vec3{m[2], m[6], m[10]};
}

void Camera::applyLookModes() {
    // A target on the eye, or two crosslook objects in one place, give no direction:
    // the view keeps the one it had rather than turning into NaNs.
    if (orientTarget != nullptr) {
        Vec3 aim = normalize(orientTarget->position - position);
        if (length(aim) > 0) direction = aim;
    }
    if (crossFrom != nullptr && crossTo != nullptr) {
        Vec3 aim = normalize(crossTo->position - crossFrom->position);
        if (length(aim) == 0) aim = normalize(direction);
        position = crossFrom->position - crossDistance * aim;
        if (length(aim) > 0) direction = aim;
    }
}

int pickVariant(int n) {
    if (n <= 0) return 0;
    int r = variantCounter;
    if (r < 0) r = 0;
    while (r > n) r -= n + 1;
    return r;
}

void resetSceneState() {
    camera.position = Vec3{0, 0, 0};
    camera.eye = Vec3{0, 0, 0};
    camera.direction = Vec3{0, 0, -1};
    camera.up = Vec3{0, 1, 0};
    camera.orientation = Quaternion{0, 0, 0, 1};
    camera.time = 0;
    camera.sceneEnded = false;
    camera.track.clear();
    camera.sceneDir[0] = '\0';
    camera.sceneFile[0] = '\0';
    camera.orientTarget = camera.crossFrom = camera.crossTo = nullptr;
    camera.crossDistance = 0;
    camera.worldPending = false;
    sceneClock = 0;
    variantCounter = 0;
    activeWorld = pendingWorld = nullptr;
    fogEnabled = false;
    particleFieldOn = true;
    fadeOutBlack = fadeInBlack = fadeOutWhite = fadeInWhite = FadeWindow{};
    sceneFog = SceneFog{};
    // Worlds refer to environments' lists, so they go first.
    worldList.clear();
    environmentList.clear();
    dynamicObjects.clear();
}
