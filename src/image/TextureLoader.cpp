#include "image/TextureLoader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <unordered_map>
#include <utility>

#include "image/DeferredTextures.h"
#include "image/JpegImage.h"
#include "image/PixelLayout.h"
#include "image/TgaImage.h"

namespace {

bool loadingOn = true;

// Level-0 sizes and black cells by texture name; a name made again (a new context)
// replaces its entries.
std::unordered_map<unsigned, std::pair<int, int>> mipmappedSizes;
std::unordered_map<unsigned, DarkCells> darkCells;

int powerOfTwoAtLeast(int side) {
    int p = 1;
    while (p < side && p < (1 << 30)) p *= 2;
    return p;
}

bool hasPixels(int width, int height, bool converted) { return converted && width > 0 && height > 0; }

// Gives `texture` a mipmap chain built from `pixels`; null pixels leave it without an image.
void fillMipmappedTexture(GLuint texture, GLint components, GLenum format, int width, int height,
                          const void* pixels) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    mipmappedSizes.erase(texture);
    darkCells.erase(texture);
    if (pixels) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE, pixels);
        mipmappedSizes[texture] = {powerOfTwoAtLeast(width), powerOfTwoAtLeast(height)};
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    setMipmappedFilters();
}

GLuint createMipmappedTexture(GLint components, GLenum format, int width, int height, const void* pixels) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    fillMipmappedTexture(texture, components, format, width, height, pixels);
    return texture;
}

}  // namespace

bool mipmappedTextureSize(unsigned texture, int& width, int& height) {
    auto found = mipmappedSizes.find(texture);
    if (found == mipmappedSizes.end()) return false;
    width = found->second.first;
    height = found->second.second;
    return true;
}

const DarkCells* darkCellsOf(unsigned texture) {
    auto found = darkCells.find(texture);
    return found == darkCells.end() ? nullptr : &found->second;
}

void forgetTextureFacts() {
    mipmappedSizes.clear();
    darkCells.clear();
}

void setGraphicsLoading(bool enabled) { loadingOn = enabled; }
bool graphicsLoading() { return loadingOn; }

unsigned loadMipmappedJpegTexture(const char* memberName) {
    if (!loadingOn) return 0;
    if (deferringTextures()) return deferMipmappedJpegTexture(memberName);
    JpegImage image;
    loadJpeg(memberName, image);
    bool usable = hasPixels(image.width, image.height, makeRgb(image));
    // A missing or undecodable member leaves the texture without an image.
    return createMipmappedRgbTexture(usable ? image.pixels.data() : nullptr, image.width, image.height);
}

unsigned createMipmappedRgbTexture(const std::uint8_t* rgb, int width, int height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    fillMipmappedRgbTexture(texture, rgb, width, height);
    return texture;
}

void fillMipmappedRgbTexture(unsigned texture, const std::uint8_t* rgb, int width, int height) {
    fillMipmappedTexture(texture, 3, GL_RGB, width, height, rgb);
    // Sides that are powers of two go to level 0 as they are, so the cells match the texels.
    if (rgb && hasPowerOfTwoSides(width, height)) darkCells.emplace(texture, DarkCells(rgb, width, height));
}

void setMipmappedFilters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

bool hasPowerOfTwoSides(int width, int height) {
    auto powerOfTwo = [](int side) { return side > 0 && (side & (side - 1)) == 0; };
    return powerOfTwo(width) && powerOfTwo(height);
}

void noteMipmappedRgbTexture(unsigned texture, const std::uint8_t* rgb, int width, int height) {
    mipmappedSizes[texture] = {width, height};
    darkCells.insert_or_assign(texture, DarkCells(rgb, width, height));
}

unsigned loadPlainJpegTexture(const char* memberName) {
    if (!loadingOn) return 0;
    JpegImage image;
    loadJpeg(memberName, image);
    bool usable = hasPixels(image.width, image.height, makeRgb(image));

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // No rescaling: the sides must be sizes the implementation takes.
    if (usable)
        glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    return texture;
}

unsigned loadTgaTexture(const char* memberName) {
    if (!loadingOn) return 0;
    TgaImage image;
    if (!loadTga(memberName, image)) return 0;
    bool usable = hasPixels(image.width, image.height, makeRgba(image));
    return createMipmappedTexture(4, GL_RGBA, image.width, image.height, usable ? image.pixels.data() : nullptr);
}
