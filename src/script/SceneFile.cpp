// readScene: one scene file sets up the next scene.
#include <cstdio>
#include <cstring>

#include "archive/ArchiveMember.h"
#include "archive/Messages.h"
#include "script/Camera.h"
#include "script/Scan.h"
#include "script/Settings.h"
#include "world/WorldFile.h"

namespace {

constexpr int kObjectNameCapacity = 16;  // scene-file names hold at most 15 characters

struct SceneReader {
    Camera& camera;
    ArchiveMember& member;
    float successorRange = 1.9f;
};

bool exhausted(const ArchiveMember& member, const char* line) {
    return member.atEnd() && line[0] == '\0';
}

void chooseNext(SceneReader& reader, const char* line, const char* format) {
    char prefix[Camera::kSceneFileCapacity];
    if (scanLine(line, format, prefix, int(sizeof prefix)) != 1) return;
    int n = static_cast<int>(reader.successorRange);  // truncation toward zero
    char name[Camera::kSceneFileCapacity + 16];
    std::snprintf(name, sizeof name, "%s%d.txt", prefix, pickVariant(n));
    // A name that does not fit would be a different member: keep the previous choice.
    if (std::strlen(name) >= sizeof reader.camera.sceneFile) return;
    std::memcpy(reader.camera.sceneFile, name, std::strlen(name) + 1);
}

void chooseWorld(SceneReader& reader, const char* line, const char* format) {
    char name[kObjectNameCapacity];
    if (scanLine(line, format, name, kObjectNameCapacity) != 1) return;
    World* world = findWorld(worldList, name);
    if (world == nullptr) return;
    pendingWorld = world;
    copyName(reader.camera.sceneDir, Camera::kSceneDirCapacity, world->sceneDir);
    reader.camera.worldPending = true;
}

void setSuccessorRange(SceneReader& reader, const char* line, const char* format) {
    float range = 0;
    if (scanLine(line, format, &range) != 1) return;
    // A range below zero would ask for a negative variant count.
    reader.successorRange = range + 0.9f < 0 ? 0 : range + 0.9f;
}

void readFade(const char* line, const char* format, FadeWindow& window) {
    float start = window.start;
    float end = window.end;
    if (scanLine(line, format, &start, &end) == 2) window = FadeWindow{start, end};
}

void crossLook(Camera& camera, const char* line) {
    char from[kObjectNameCapacity];
    char to[kObjectNameCapacity];
    float distance = 0;
    if (scanLine(line, "crosslook %s %s %f", from, kObjectNameCapacity, to,
                 kObjectNameCapacity, &distance) < 2)
        return;
    WorldObject* a = findByName(dynamicObjects, from);
    WorldObject* b = findByName(dynamicObjects, to);
    if (a == nullptr || b == nullptr) return;
    camera.crossFrom = a;
    camera.crossTo = b;
    camera.crossDistance = distance;
}

void orient(Camera& camera, const char* line) {
    char name[kObjectNameCapacity];
    if (scanLine(line, "orient %s", name, kObjectNameCapacity) != 1) return;
    if (WorldObject* target = findByName(dynamicObjects, name)) camera.orientTarget = target;
}

void setObjectTrack(SceneReader& reader, const char* line) {
    char name[kObjectNameCapacity] = {};
    scanLine(line, "set %s", name, kObjectNameCapacity);
    WorldObject* object = name[0] != '\0' ? findByName(dynamicObjects, name) : nullptr;
    if (object == nullptr) {
        // The blocks must still be consumed, or their "end" lines would end the scene.
        KeyframeTrack scratch;
        readTrack(reader.member, scratch);
        return;
    }
    object->visible = true;
    readTrack(reader.member, object->track);
    prepareTrack(object->track);
}

void readFog(const char* line) {
    if (keywordTest(line, "expfog")) {
        float density = 0;
        fogEnabled = true;
        sceneFog.mode = SceneFog::Exponential;
        if (scanLine(line, "expfog %f", &density) == 1) sceneFog.density = density;
    }
    if (keywordTest(line, "linefog")) {
        float start = 0, end = 0;
        fogEnabled = true;
        sceneFog.mode = SceneFog::Linear;
        if (scanLine(line, "linefog %f %f", &start, &end) == 2) {
            sceneFog.start = start;
            sceneFog.end = end;
        }
    }
    if (keywordTest(line, "fogcolor")) {
        Vec3 c;
        fogEnabled = true;
        if (scanLine(line, "fogcolor V(%f %f %f)", &c.x, &c.y, &c.z) == 3) {
            sceneFog.color[0] = c.x;
            sceneFog.color[1] = c.y;
            sceneFog.color[2] = c.z;
            sceneFog.color[3] = 1;
        }
    }
}

// Tests one body line against every keyword, in order; every match applies.
void readBodyLine(SceneReader& reader, const char* line) {
    Camera& camera = reader.camera;
    bool galaxy = settings.galaxy;
    if (keywordTest(line, "next")) chooseNext(reader, line, "next %s");
    if (keywordTest(line, "world")) chooseWorld(reader, line, "world %s");
    if (keywordTest(line, "regnext") && galaxy) chooseNext(reader, line, "regnext %s");
    if (keywordTest(line, "regworld") && galaxy) chooseWorld(reader, line, "regworld %s");
    if (keywordTest(line, "reset")) camera.orientTarget = camera.crossFrom = camera.crossTo = nullptr;
    if (keywordTest(line, "cycle") && ++variantCounter > 10) variantCounter = 0;
    if (keywordTest(line, "KEYFRAMES")) {
        readTrack(reader.member, camera.track);
        prepareTrack(camera.track);
    }
    if (keywordTest(line, "crosslook")) crossLook(camera, line);
    if (keywordTest(line, "orient")) orient(camera, line);
    if (keywordTest(line, "set")) setObjectTrack(reader, line);
    if (keywordTest(line, "random")) setSuccessorRange(reader, line, "random %f");
    if (keywordTest(line, "regrandom") && galaxy) setSuccessorRange(reader, line, "regrandom %f");
    if (keywordTest(line, "fback")) readFade(line, "fback %f %f", fadeInBlack);
    if (keywordTest(line, "fout")) readFade(line, "fout %f %f", fadeOutBlack);
    if (keywordTest(line, "wback")) readFade(line, "wback %f %f", fadeInWhite);
    if (keywordTest(line, "wout")) readFade(line, "wout %f %f", fadeOutWhite);
    readFog(line);
    if (keywordTest(line, "soff")) particleFieldOn = false;
}

}  // namespace

void Camera::readScene() {
    track.clear();
    orientTarget = crossFrom = crossTo = nullptr;
    sceneEnded = false;
    fogEnabled = false;
    particleFieldOn = true;
    fadeOutBlack = fadeInBlack = fadeOutWhite = fadeInWhite = FadeWindow{};
    if (worldPending) {
        activeWorld = pendingWorld;
        worldPending = false;
    }
    char name[kSceneDirCapacity];
    sceneMemberName(name, kSceneDirCapacity);
    ArchiveMember member;
    if (member.open(name) != 0) {
        char text[kSceneDirCapacity + 32];
        std::snprintf(text, sizeof text, "Scene: %s not open", name);
        showMessage(text, "ARCHIVE Error");
    }
    for (auto& object : dynamicObjects) {
        object->track.clear();
        object->visible = false;
    }
    SceneReader reader{*this, member};
    char line[ArchiveMember::kLineCapacity] = {};
    do {
        member.readLine(line);
    } while (!keywordTest(line, "scene") && !exhausted(member, line));
    while (!keywordTest(line, "end") && !exhausted(member, line)) {
        member.readLine(line);
        readBodyLine(reader, line);
    }
    member.close();
}
