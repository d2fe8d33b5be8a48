#include "world/Billboard.h"

#include "script/Random.h"
#include "script/Scan.h"
#include "world/ObjectProperties.h"

Billboard::Billboard() : spin(randomFraction() * 120.0f - 60.0f) {}

void Billboard::readProperty(const char* line, BlockContext& context) {
    if (keywordTest(line, "size")) scanLine(line, "size %f", &size);
    if (keywordTest(line, "rotation")) readRotation(line, angle, spin);
    if (keywordTest(line, "parent")) parent = readParentWithOffset(line, context, offset);
    if (keywordTest(line, "FOV")) scanLine(line, "FOV %f", &fov);
    if (keywordTest(line, "alpha")) scanLine(line, "alpha %f", &alpha);
    if (keywordTest(line, "orient off")) fixedOrientation = true;
    if (keywordTest(line, "env")) {
        isEnv = true;
        scanLine(line, "env V(%f %f %f)", &offset.x, &offset.y, &offset.z);
    }
    if (keywordTest(line, "flash")) {
        hasFlash = true;
        scanLine(line, "flash %f %f %f)", &flashClock, &darkTime, &litTime);
    }
    if (keywordTest(line, "texture")) readTextureLine(*this, line);
    if (keywordTest(line, "up")) scanLine(line, "up V(%f %f %f)", &up.x, &up.y, &up.z);
    if (keywordTest(line, "right"))
        scanLine(line, "right V(%f %f %f)", &right.x, &right.y, &right.z);
    if (keywordTest(line, "position"))
        scanLine(line, "position V(%f %f %f)", &position.x, &position.y, &position.z);
    if (keywordTest(line, "color"))
        scanLine(line, "color V(%f %f %f)", &color.x, &color.y, &color.z);
    if (keywordTest(line, "xy")) scanLine(line, "xy %f", &xy);
}
