#include "script/World.h"

#include <cstring>

#include "archive/ArchiveMember.h"
#include "image/DeferredTextures.h"
#include "script/Scan.h"
#include "world/WorldFile.h"

World::World() : firstPass(&emptyObjectList()), postPass(&emptyObjectList()) {}

ObjectList& emptyObjectList() {
    static ObjectList empty;
    return empty;
}

// True once the member has nothing left: every further line would be empty.
static bool exhausted(const ArchiveMember& member, const char* line) {
    return member.atEnd() && line[0] == '\0';
}

static void readEnvironmentBlock(ArchiveMember& member, char* line, Environment& environment) {
    char memberName[ArchiveMember::kNameCapacity];
    while (!keywordTest(line, "end") && !exhausted(member, line)) {
        member.readLine(line);
        if (keywordTest(line, "firstpass") &&
            scanLine(line, "firstpass %s", memberName, int(sizeof memberName)) == 1)
            readWorldFile(environment.firstPass, memberName);
        if (keywordTest(line, "postpass") &&
            scanLine(line, "postpass %s", memberName, int(sizeof memberName)) == 1)
            readWorldFile(environment.postPass, memberName);
    }
}

void readEnvironments(EnvironmentList& environments, const char* memberName) {
    ArchiveMember member;
    if (member.open(memberName) != 0) return;
    char line[ArchiveMember::kLineCapacity] = {};
    for (;;) {
        member.readLine(line);
        if (keywordTest(line, "ENV_END") || exhausted(member, line)) break;
        if (!keywordTest(line, "env")) continue;
        auto environment = std::make_unique<Environment>();
        scanLine(line, "env %s", environment->name, Environment::kNameCapacity);
        {
            TextureOwnerScope owner(environment.get());
            readEnvironmentBlock(member, line, *environment);
        }
        environments.push_back(std::move(environment));
    }
    member.close();
}

static void useEnvironment(World& world, const Environment* environment) {
    world.environment = environment;
    if (environment == nullptr) {
        world.firstPass = &emptyObjectList();
        world.postPass = &emptyObjectList();
        return;
    }
    // The lists are shared with every world that names this environment.
    world.firstPass = const_cast<ObjectList*>(&environment->firstPass);
    world.postPass = const_cast<ObjectList*>(&environment->postPass);
}

static void readWorldBlock(ArchiveMember& member, char* line, World& world,
                           const EnvironmentList& environments) {
    char word[ArchiveMember::kNameCapacity];
    while (!keywordTest(line, "end") && !exhausted(member, line)) {
        member.readLine(line);
        if (keywordTest(line, "env") && scanLine(line, "env %s", word, int(sizeof word)) == 1)
            useEnvironment(world, findEnvironment(environments, word));
        if (keywordTest(line, "objects") &&
            scanLine(line, "objects %s", word, int(sizeof word)) == 1)
            readWorldFile(world.objects, word);
        if (keywordTest(line, "scenedir"))
            scanLine(line, "scenedir %s", world.sceneDir, World::kSceneDirCapacity);
    }
}

void readWorlds(WorldList& worlds, const EnvironmentList& environments, const char* memberName,
                bool (*keepGoing)()) {
    ArchiveMember member;
    if (member.open(memberName) != 0) return;
    char line[ArchiveMember::kLineCapacity] = {};
    for (;;) {
        member.readLine(line);
        if (keywordTest(line, "WORLD_END") || exhausted(member, line)) break;
        if (!keywordTest(line, "world")) continue;
        if (keepGoing && !keepGoing()) break;
        auto world = std::make_unique<World>();
        scanLine(line, "world %s", world->name, World::kNameCapacity);
        {
            TextureOwnerScope owner(world.get());
            readWorldBlock(member, line, *world, environments);
        }
        worlds.push_back(std::move(world));
    }
    member.close();
}

Environment* findEnvironment(const EnvironmentList& environments, const char* name) {
    for (const auto& environment : environments)
        if (std::strcmp(environment->name, name) == 0) return environment.get();
    return nullptr;
}

World* findWorld(const WorldList& worlds, const char* name) {
    for (const auto& world : worlds)
        if (std::strcmp(world->name, name) == 0) return world.get();
    return nullptr;
}
