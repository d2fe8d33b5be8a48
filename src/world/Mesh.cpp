#include "world/Mesh.h"

#include "archive/ArchiveMember.h"
#include "script/Scan.h"
#include "world/MeshFile.h"
#include "world/WorldFile.h"

Mesh::Mesh() : displayList(geometrySlots.current) {
    look = Vec3{0, 0, 1};
    right = Vec3{1, 0, 0};
}

// "material" is followed by exactly four lines, each tested once: a missing "\tchrome"
// line turns chrome off.
static void readMaterial(Mesh& mesh, ArchiveMember& member) {
    char line[ArchiveMember::kLineCapacity] = {};
    char name[32];
    member.readLine(line);
    mesh.metal = keywordTest(line, "\tmetal");
    member.readLine(line);
    mesh.chrome = keywordTest(line, "\tchrome");
    member.readLine(line);
    if (keywordTest(line, "\tmap1") && scanLine(line, "\tmap1 %s", name, int(sizeof name)) == 1)
        mesh.loadTexture(name);
    member.readLine(line);
    if (keywordTest(line, "\tmap2") && scanLine(line, "\tmap2 %s", name, int(sizeof name)) == 1)
        mesh.loadTexture2(name);
}

void Mesh::readProperty(const char* line, BlockContext& context) {
    if (keywordTest(line, "orient"))
        scanLine(line, "orient V(%f %f %f) %f", &orientAxis.x, &orientAxis.y, &orientAxis.z,
                 &orientAngle);
    if (keywordTest(line, "position"))
        scanLine(line, "position V(%f %f %f)", &position.x, &position.y, &position.z);
    if (keywordTest(line, "look")) scanLine(line, "look V(%f %f %f)", &look.x, &look.y, &look.z);
    if (keywordTest(line, "right"))
        scanLine(line, "right V(%f %f %f)", &right.x, &right.y, &right.z);
    if (keywordTest(line, "material")) readMaterial(*this, context.member);
    if (keywordTest(line, "scale")) scanLine(line, "scale %f", &scale);
    if (keywordTest(line, "speed")) scanLine(line, "speed %f", &speed);
    if (keywordTest(line, "light")) additive = true;
    if (keywordTest(line, "invup")) invertUp = true;
    if (keywordTest(line, "tiling")) scanLine(line, "tiling %f", &tiling);
}
