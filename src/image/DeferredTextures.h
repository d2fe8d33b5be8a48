// Textures that take memory only while their owners need them. While deferral is on and an
// owner (a world or an environment) is loading, each mipmapped JPEG texture it names gets
// its name and keeps only the compressed member; the pixels are decoded and uploaded, a
// step at a time, once one of its owners is wanted, and the storage is given back when
// none is. The show wants the world it shows and the one its scene will go on to.
#pragma once

#include <vector>

// Off (the default), every texture is made at once, as tools and tests expect.
void setTextureDeferral(bool on);
bool textureDeferral();

// Loads inside one are deferred and owned by `owner` (null: made at once).
class TextureOwnerScope {
public:
    explicit TextureOwnerScope(const void* owner);
    ~TextureOwnerScope();
    TextureOwnerScope(const TextureOwnerScope&) = delete;
    TextureOwnerScope& operator=(const TextureOwnerScope&) = delete;

private:
    const void* previous_;
};

// True when a load now would be deferred.
bool deferringTextures();
// A texture name for the member, its image to come; a member that cannot be opened shows
// the loader's message and gives a name without an image, as a load at once would.
unsigned deferMipmappedJpegTexture(const char* memberName);
// The owner now loading also names this texture (made before and shared).
void addTextureOwner(unsigned texture);

// Textures of these owners are kept or queued for building; all others are given back.
// True when some storage was given back.
bool keepTexturesOf(const std::vector<const void*>& owners);
// Builds queued textures a step at a time until `seconds` have passed (at least one step);
// true when nothing is left to build.
bool continueTextureBuilds(double seconds);
// Completes at once whatever this owner's textures still lack.
void finishTexturesOf(const void* owner);
// Whether the texture has its image (always true for textures made at once).
bool textureReady(unsigned texture);

// Forgets every deferred texture (the lists are gone or the context is new).
void forgetDeferredTextures();
