// The operations the saver run calls but other parts of the show own. runSaver calls
// them in the show's fixed order; ShowParts.cpp plugs in the real ones and tests plug in
// recorders, so the run's order is checked without the rest of the show.
#pragma once

#include <cstdint>

// A member's bytes as the music library is handed them (empty when the member is missing).
struct MemberBytes {
    const void* data = nullptr;
    std::uint32_t size = 0;
};

struct ShowParts {
    // Start-up, in call order.
    void (*clearWorldChoice)();        // no active world yet
    MemberBytes (*readMusicMember)();  // "music.ogg" into the music member, music on or off
    void (*showLoadingImage)();
    void (*buildDigitGlyphs)();
    void (*setUpParticleField)();      // the global field: its texture, size 0.3, 800 particles
    void (*initCamera)();              // position (0, 0, 1500), view (0, 0, -1), up (0, 1, 0)
    void (*readEnvironments)();        // "env.txt"
    void (*readWorlds)();              // "worlds.txt"
    void (*readDynamicWorld)();        // "dynamic.txt" into the dynamic object list

    // The music library; called only when EnableMusic is on.
    int (*imxInit)(void* window, int rate, int a, int b);
    int (*imxStart)();
    int (*imxSetGlobalVolumes)(int a, int b, int c);
    int (*imxStreamOpenFile)(int kind, const void* data, int offset, int size, int flags);
    int (*imxStreamPlay)(int stream, int mode);
    int (*imxUninit)();

    // The loading animation, one call per frame (the first gets dt = 0).
    void (*drawLoadingFrame)(double dt);

    // The show's start.
    void (*seedRandom)(std::uint32_t seed);
    int (*drawRandom)();  // 0..32767
    void (*setParticleFieldOn)(bool on);
    void (*setSceneClock)(float seconds);
    // Opening world by name, scene file name ("scene%d.txt") and the starting variant counter.
    void (*chooseOpening)(const char* sceneFile, const char* worldName, int variant);
    void (*readScene)();
    void (*setSceneEnded)();

    // Every frame.
    void (*updateCamera)();
    bool (*sceneEnded)();
    void (*updateLists)(double dt);  // first-pass, world objects, dynamic objects, post-pass
    void (*applyLookModes)();
    void (*copyEyePoint)();  // the camera's eye point = its position
    void (*composeFrame)();

    // Shut-down.
    void (*releaseLists)();  // worlds, environments, dynamic objects, draw lists
    void (*releaseMusicMember)();
};

// The table of the real show.
const ShowParts& realShowParts();
