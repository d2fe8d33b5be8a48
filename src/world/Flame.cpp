#include "world/Flame.h"

#include "script/Scan.h"
#include "world/ObjectProperties.h"

Flame::Flame() = default;

void Flame::readProperty(const char* line, BlockContext& context) {
    if (keywordTest(line, "texture")) readTextureLine(*this, line);
    if (keywordTest(line, "size")) scanLine(line, "size %f", &size);
    if (keywordTest(line, "offset")) scanLine(line, "offset %f", &offset);
    if (keywordTest(line, "orient"))
        scanLine(line, "orient V(%f %f %f)", &anchor.x, &anchor.y, &anchor.z);
    if (keywordTest(line, "colorfrom"))
        scanLine(line, "colorfrom V(%f %f %f)", &colorFrom.x, &colorFrom.y, &colorFrom.z);
    if (keywordTest(line, "colorto"))
        scanLine(line, "colorto V(%f %f %f)", &colorTo.x, &colorTo.y, &colorTo.z);
    if (keywordTest(line, "parent")) parent = readParent(line, context);
}
