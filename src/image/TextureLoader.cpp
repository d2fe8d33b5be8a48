#include "image/TextureLoader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "image/JpegImage.h"
#include "image/PixelLayout.h"
#include "image/TgaImage.h"

namespace {

bool loadingOn = true;

bool hasPixels(int width, int height, bool converted) { return converted && width > 0 && height > 0; }

// A new texture with a mipmap chain built from `pixels`; null pixels leave it without an image.
GLuint createMipmappedTexture(GLint components, GLenum format, int width, int height, const void* pixels) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (pixels) gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

}  // namespace

void setGraphicsLoading(bool enabled) { loadingOn = enabled; }
bool graphicsLoading() { return loadingOn; }

unsigned loadMipmappedJpegTexture(const char* memberName) {
    if (!loadingOn) return 0;
    JpegImage image;
    loadJpeg(memberName, image);
    bool usable = hasPixels(image.width, image.height, makeRgb(image));
    // A missing or undecodable member leaves the texture without an image.
    return createMipmappedTexture(3, GL_RGB, image.width, image.height, usable ? image.pixels.data() : nullptr);
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
