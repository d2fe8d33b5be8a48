// Archive members to OpenGL textures. Each call decodes its member again and creates a
// new texture (never deleted while the context lives); the new texture is left bound.
#pragma once

#include <cstdint>

#include "image/DarkCells.h"

// JPEG, 3 components, mipmapped (GLU rescales sides that are not powers of two).
// The name is generated even when the member is missing (the texture then has no image).
unsigned loadMipmappedJpegTexture(const char* memberName);
// The same from RGB pixels in memory (null: no image).
unsigned createMipmappedRgbTexture(const std::uint8_t* rgb, int width, int height);
// Gives an existing texture name the same chain (null: no image), and leaves it bound.
void fillMipmappedRgbTexture(unsigned texture, const std::uint8_t* rgb, int width, int height);
// The bound texture's filters as the mipmapped loaders set them.
void setMipmappedFilters();
bool hasPowerOfTwoSides(int width, int height);
// Records the level-0 size and black cells of a chain built some other way from the same
// RGB pixels (power-of-two sides).
void noteMipmappedRgbTexture(unsigned texture, const std::uint8_t* rgb, int width, int height);
// JPEG, 3 components, level 0 only, no rescaling (lens elements).
unsigned loadPlainJpegTexture(const char* memberName);
// TGA, 4 components, mipmapped; 0 and no texture when the TGA cannot be loaded.
unsigned loadTgaTexture(const char* memberName);

// The level-0 size of a mipmapped texture these loaders made (sides rounded up to powers
// of two, at least as large as what GLU builds); false for any other texture.
bool mipmappedTextureSize(unsigned texture, int& width, int& height);

// Where a mipmapped JPEG texture of the loaders is black (power-of-two sides only, so
// the image is level 0 as it is); null for any other texture.
const DarkCells* darkCellsOf(unsigned texture);

// Forgets the sizes and cells above, for a new GL context whose names start afresh.
void forgetTextureFacts();

// Runs without a GL context (simulations, data checks) switch texture and mesh
// creation off: the loaders then return 0 at once.
void setGraphicsLoading(bool enabled);
bool graphicsLoading();
