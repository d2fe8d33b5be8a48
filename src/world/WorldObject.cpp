#include "world/WorldObject.h"

#include "image/TextureLoader.h"

// hasTexture is set even when the image could not be loaded: the renderer then binds
// a texture without an image, as the data expects.
void WorldObject::loadTexture(const char* memberName) {
    texture = loadMipmappedJpegTexture(memberName);
    hasTexture = true;
}

void WorldObject::loadTexture2(const char* memberName) {
    texture2 = loadMipmappedJpegTexture(memberName);
    hasTexture2 = true;
}
