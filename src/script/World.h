// Environments (env.txt) and worlds (worlds.txt): named object lists and scene folders.
#pragma once

#include <memory>
#include <vector>

#include "world/WorldObject.h"

struct Environment {
    static constexpr int kNameCapacity = 20;  // at most 19 characters

    char name[kNameCapacity] = {};
    ObjectList firstPass;  // drawn before the world's own objects
    ObjectList postPass;   // drawn after the world's objects and the dynamic.txt objects
};

struct World {
    static constexpr int kNameCapacity = 22;      // at most 21 characters
    static constexpr int kSceneDirCapacity = 50;  // at most 49 characters

    World();

    char name[kNameCapacity] = " ";
    ObjectList objects;
    // Shared with the environment, never null: a world without a (known) environment
    // points at an empty list, so it draws empty passes.
    ObjectList* firstPass;
    ObjectList* postPass;
    char sceneDir[kSceneDirCapacity] = {};  // raw member-name prefix, "" when unset
    const Environment* environment = nullptr;
};

// Owning lists in file order; elements never move, so references into them stay valid.
using EnvironmentList = std::vector<std::unique_ptr<Environment>>;
using WorldList = std::vector<std::unique_ptr<World>>;

// The empty list that worlds without an environment draw. Nothing appends to it.
ObjectList& emptyObjectList();

// Read env.txt / worlds.txt; a member that cannot be opened adds nothing.
void readEnvironments(EnvironmentList& environments, const char* memberName);
// Each world loads its objects' textures and meshes, the longest step of the start-up:
// `keepGoing`, when given, is asked before each world, and false ends the reading there.
void readWorlds(WorldList& worlds, const EnvironmentList& environments, const char* memberName,
                bool (*keepGoing)() = nullptr);

// First exact, case-sensitive match; null when there is none.
Environment* findEnvironment(const EnvironmentList& environments, const char* name);
World* findWorld(const WorldList& worlds, const char* name);
