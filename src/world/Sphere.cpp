#include "world/Sphere.h"

#include "script/Scan.h"
#include "world/MeshFile.h"
#include "world/WorldFile.h"

Sphere::Sphere() : displayList(geometrySlots.sphere) {}

void Sphere::readProperty(const char* line, BlockContext&) {
    if (keywordTest(line, "radius")) scanLine(line, "radius %f", &radius);
    if (keywordTest(line, "FOV")) scanLine(line, "FOV %f", &fov);
    if (keywordTest(line, "alpha")) scanLine(line, "alpha %f", &alpha);
    if (keywordTest(line, "tiling")) scanLine(line, "tiling %f", &tiling);
    if (keywordTest(line, "env")) {
        isEnv = true;
        displayList = geometrySlots.environment;
        spinSpeed = 0;
    }
    if (keywordTest(line, "geo")) displayList = geometrySlots.sphere;
    if (keywordTest(line, "light")) unlit = true;
    if (keywordTest(line, "texture")) {
        char member[32];
        if (scanLine(line, "texture %s", member, int(sizeof member)) == 1) loadTexture(member);
    }
    if (keywordTest(line, "rotation"))
        scanLine(line, "rotation V(%f %f %f) %f %f", &spinAxis.x, &spinAxis.y, &spinAxis.z,
                 &spinAngle, &spinSpeed);
    if (keywordTest(line, "orient"))
        scanLine(line, "orient V(%f %f %f) %f", &orientAxis.x, &orientAxis.y, &orientAxis.z,
                 &orientAngle);
    if (keywordTest(line, "position"))
        scanLine(line, "position V(%f %f %f)", &position.x, &position.y, &position.z);
}
