// While a SharedLoads lives (the show's start, which reads every world file), a texture
// or mesh member that was loaded before in its time is not decoded again: the objects that
// name it get the same GL texture or display list. Their pictures are the very same, and
// the textures of a galaxy's many knots, flares and lens elements stop taking memory and
// start-up time once each. Outside one, every load makes its own, as before.
#pragma once

class SharedLoads {
public:
    SharedLoads();
    ~SharedLoads();
    SharedLoads(const SharedLoads&) = delete;
    SharedLoads& operator=(const SharedLoads&) = delete;
};

// Each returns what `load` (member name) made for that member before, while a SharedLoads
// lives and that load succeeded; otherwise it calls `load`.
unsigned sharedMipmappedTexture(const char* memberName, unsigned (*load)(const char*));
unsigned sharedPlainTexture(const char* memberName, unsigned (*load)(const char*));
unsigned sharedMeshList(const char* memberName, bool asSky, unsigned (*load)(const char*, bool));
// True while a SharedLoads lives.
bool loadsShared();
