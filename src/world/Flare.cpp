#include "world/Flare.h"

#include "archive/ArchiveMember.h"
#include "image/TextureLoader.h"
#include "world/SharedLoads.h"
#include "script/Scan.h"
#include "world/ObjectProperties.h"

Flare::Flare() = default;

// "lenseffect" is followed by exactly four lines, taken without keyword tests.
static void readLensEffect(Flare& flare, ArchiveMember& member) {
    char line[ArchiveMember::kLineCapacity] = {};
    member.readLine(line);
    float size = 0;
    if (scanLine(line, "\tsize %f", &size) == 1) flare.lensSize = size * screenWidthScale();
    for (unsigned& texture : flare.lensTextures) {
        member.readLine(line);
        char name[32];
        if (scanLine(line, "\ttexture %s", name, int(sizeof name)) == 1)
            texture = sharedPlainTexture(name, loadPlainJpegTexture);
    }
}

static void readAlpha(Flare& flare, const char* line) {
    float alpha = 0, fadeIn = 0, fadeOut = 0;
    int n = scanLine(line, "alpha %f fade: %f %f", &alpha, &fadeIn, &fadeOut);
    if (n >= 1) flare.alpha = alpha;
    if (n >= 2) flare.fadeIn = fadeIn * 60;
    if (n >= 3) flare.fadeOut = fadeOut * 60;
}

void Flare::readProperty(const char* line, BlockContext& context) {
    if (keywordTest(line, "size")) {
        float value = 0;
        if (scanLine(line, "size %f", &value) == 1) size = value * screenWidthScale();
    }
    if (keywordTest(line, "flash")) {
        hasFlash = true;
        scanLine(line, "flash %f)", &flash);
    }
    if (keywordTest(line, "focus")) {
        hasFocus = true;
        scanLine(line, "focus %f)", &focus);
    }
    if (keywordTest(line, "parent")) parent = readParentWithOffset(line, context, offset);
    if (keywordTest(line, "FOV")) scanLine(line, "FOV %f", &fov);
    if (keywordTest(line, "alpha")) readAlpha(*this, line);
    if (keywordTest(line, "env")) {
        isEnv = true;
        scanLine(line, "env V(%f %f %f)", &offset.x, &offset.y, &offset.z);
    }
    if (keywordTest(line, "texture")) readTextureLine(*this, line);
    if (keywordTest(line, "position"))
        scanLine(line, "position V(%f %f %f)", &position.x, &position.y, &position.z);
    if (keywordTest(line, "lenseffect")) {
        hasLens = true;
        readLensEffect(*this, context.member);
    }
    if (keywordTest(line, "rotation")) readRotation(line, angle, spin);
    if (keywordTest(line, "xy")) scanLine(line, "xy %f", &xy);
    if (keywordTest(line, "orient")) {
        hasOrient = true;
        scanLine(line, "orient V(%f %f %f)", &orient.x, &orient.y, &orient.z);
    }
}
