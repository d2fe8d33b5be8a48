// The viewer and the scene sequencer, and the process-wide state the scene files set.
#pragma once

#include "script/KeyframeTrack.h"
#include "script/Quaternion.h"
#include "script/Vec3.h"
#include "script/World.h"
#include "world/WorldObject.h"

class Camera {
public:
    static constexpr int kSceneDirCapacity = 200;   // at most 199 characters
    static constexpr int kSceneFileCapacity = 32;   // at most 31 characters

    Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Start-up placement: (0, 0, 1500), looking down -z with +y up.
    void place();
    // Reads sceneDir + sceneFile and sets up the new scene.
    void readScene();
    // Once per frame: moves along the track; sets sceneEnded when the track runs out.
    void updateCamera();
    // Once per frame after the objects' updates: "orient" and "crosslook".
    void applyLookModes();
    // The full member name of the next scene file (sceneDir + sceneFile).
    void sceneMemberName(char* out, int capacity) const;

    Vec3 position{0, 0, 0};
    Vec3 eye{0, 0, 0};
    Vec3 direction{0, 0, -1};
    Vec3 up{0, 1, 0};
    Quaternion orientation{0, 0, 0, 1};
    double time = 0;
    bool sceneEnded = false;
    KeyframeTrack track;
    char sceneDir[kSceneDirCapacity] = {};
    char sceneFile[kSceneFileCapacity] = {};
    WorldObject* orientTarget = nullptr;
    WorldObject* crossFrom = nullptr;
    WorldObject* crossTo = nullptr;
    float crossDistance = 0;
    bool worldPending = false;
};

// A fade window (start, end) in scene seconds; (-1, -1) is off.
struct FadeWindow {
    float start = -1;
    float end = -1;
};

// Fog parameters as scene files last set them. They persist across scenes the way
// OpenGL state would (the mesh renderer applies them while fogEnabled is set); the
// initial values are OpenGL's own defaults.
struct SceneFog {
    enum Mode { Exponential, Linear };
    Mode mode = Exponential;
    float density = 1;
    float start = 0;
    float end = 1;
    float color[4] = {0, 0, 0, 0};
};

// An integer 0..n taken from variantCounter (n < 0 is treated as 0).
int pickVariant(int n);

// Process-wide scene state.
extern Camera camera;
extern float sceneClock;        // scene seconds; the main loop advances it
extern int variantCounter;      // 0..10, picks among numbered successor scenes
extern World* activeWorld;
extern World* pendingWorld;
extern bool fogEnabled;
extern bool particleFieldOn;
extern FadeWindow fadeOutBlack;
extern FadeWindow fadeInBlack;
extern FadeWindow fadeOutWhite;
extern FadeWindow fadeInWhite;
extern SceneFog sceneFog;

// The lists the show is made of; they live until the program ends.
extern EnvironmentList environmentList;
extern WorldList worldList;
extern ObjectList dynamicObjects;  // the dynamic.txt list that scene files address

// Puts every value above back to its process-start state and empties the lists
// (tests and simulations run several shows in one process).
void resetSceneState();
