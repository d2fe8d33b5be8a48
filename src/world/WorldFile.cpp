#include "world/WorldFile.h"

#include <cstring>

#include "archive/ArchiveMember.h"
#include "script/Scan.h"
#include "script/Settings.h"
#include "world/Billboard.h"
#include "world/Flame.h"
#include "world/Flare.h"
#include "world/Mesh.h"
#include "world/MeshFile.h"
#include "world/SharedLoads.h"
#include "world/ParticleSystem.h"
#include "world/Sphere.h"

namespace {

constexpr int kMemberNameCapacity = 32;  // world-file member names hold 31 characters

bool exhausted(const ArchiveMember& member, const char* line) {
    return member.atEnd() && line[0] == '\0';
}

// A failed load keeps the slot's previous display list.
void loadSlot(unsigned& slot, const char* memberName, bool asSky = false) {
    unsigned list = sharedMeshList(memberName, asSky, loadMeshFile);
    if (list != 0) slot = list;
}

template <class Kind>
void readBlock(ArchiveMember& member, ObjectList& list, bool named) {
    auto object = std::make_unique<Kind>();
    char line[ArchiveMember::kLineCapacity] = {};
    do {
        member.readLine(line);
    } while (!keywordTest(line, "begin") && !exhausted(member, line));
    if (!keywordTest(line, "begin")) return;  // the member ended before the block began
    if (named) {
        scanLine(line, "begin %s", object->name, WorldObject::kNameCapacity);
    }
    BlockContext context{member, list};
    do {
        member.readLine(line);
        object->readProperty(line, context);
    } while (!keywordTest(line, "end") && !exhausted(member, line));
    list.push_back(std::move(object));
}

void readObjectBlock(ObjectKind kind, ArchiveMember& member, ObjectList& list) {
    switch (kind) {
    case ObjectKind::Sphere: readBlock<Sphere>(member, list, true); break;
    case ObjectKind::Billboard: readBlock<Billboard>(member, list, false); break;
    case ObjectKind::Flare: readBlock<Flare>(member, list, false); break;
    case ObjectKind::Mesh: readBlock<Mesh>(member, list, true); break;
    case ObjectKind::Flame: readBlock<Flame>(member, list, false); break;
    case ObjectKind::ParticleSystem: readBlock<ParticleSystem>(member, list, false); break;
    default: break;
    }
}

}  // namespace

ObjectKind kindFromKeyword(const char* line) {
    if (keywordTest(line, "sphere")) return ObjectKind::Sphere;
    if (keywordTest(line, "billboard")) return ObjectKind::Billboard;
    if (keywordTest(line, "flare")) return ObjectKind::Flare;
    if (keywordTest(line, "mesh")) return ObjectKind::Mesh;
    if (keywordTest(line, "flame")) return ObjectKind::Flame;
    if (keywordTest(line, "ps")) return ObjectKind::ParticleSystem;
    if (keywordTest(line, "ENDWORLD")) return ObjectKind::EndWorld;
    if (keywordTest(line, "geometry")) return ObjectKind::Geometry;
    if (keywordTest(line, "dir")) return ObjectKind::Dir;
    return ObjectKind::None;
}

bool readWorldFile(ObjectList& list, const char* memberName) {
    loadSlot(geometrySlots.environment, "meshes\\env.dat", true);  // drawn around the eye
    loadSlot(geometrySlots.sphere, "meshes\\sphere.dat");
    ArchiveMember member;
    if (member.open(memberName) != 0) return false;
    char line[ArchiveMember::kLineCapacity] = {};
    member.readLine(line);
    for (;;) {
        ObjectKind kind = kindFromKeyword(line);
        if (kind == ObjectKind::EndWorld) break;
        if (kind == ObjectKind::Geometry) {
            char name[kMemberNameCapacity];
            if (scanLine(line, "geometry %s", name, kMemberNameCapacity) == 1)
                loadSlot(geometrySlots.current, name);
        } else {
            readObjectBlock(kind, member, list);
        }
        if (member.atEnd()) break;  // no "ENDWORLD": stop at the member's end
        member.readLine(line);
    }
    member.close();
    return true;
}

WorldObject* findByName(const ObjectList& list, const char* name) {
    for (const auto& object : list)
        if (std::strcmp(object->name, name) == 0) return object.get();
    return nullptr;
}

float screenWidthScale() { return static_cast<float>(settings.width) / 800.0f; }
