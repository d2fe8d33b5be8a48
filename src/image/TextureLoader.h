// Archive members to OpenGL textures. Each call decodes its member again and creates a
// new texture (never deleted while the context lives); the new texture is left bound.
#pragma once

// JPEG, 3 components, mipmapped (GLU rescales sides that are not powers of two).
// The name is generated even when the member is missing (the texture then has no image).
unsigned loadMipmappedJpegTexture(const char* memberName);
// JPEG, 3 components, level 0 only, no rescaling (lens elements).
unsigned loadPlainJpegTexture(const char* memberName);
// TGA, 4 components, mipmapped; 0 and no texture when the TGA cannot be loaded.
unsigned loadTgaTexture(const char* memberName);

// Runs without a GL context (simulations, data checks) switch texture and mesh
// creation off: the loaders then return 0 at once.
void setGraphicsLoading(bool enabled);
bool graphicsLoading();
