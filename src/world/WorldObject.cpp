#include "world/WorldObject.h"

#include "image/TextureLoader.h"
#include "world/SharedLoads.h"

// hasTexture is set even when the image could not be loaded: the renderer then binds
// a texture without an image, as the data expects.
void WorldObject::loadTexture(const char* memberName) {
    texture = sharedMipmappedTexture(memberName, loadMipmappedJpegTexture);
    hasTexture = true;
}

void WorldObject::loadTexture2(const char* memberName) {
    texture2 = sharedMipmappedTexture(memberName, loadMipmappedJpegTexture);
    hasTexture2 = true;
}
