// Textures: GL 1.1's unsized formats and component counts, completeness as GL 1.1 sees it,
// the GLU mipmap chain, and read-backs of colour (RGB included) and depth.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gles/GlesHeaders.h"
#include "gles/GlesLayer.h"
#include "gles/LayerState.h"
#include "gles/TextureImage.h"

using GLdouble = double;

namespace gles {

namespace {

GLenum unsizedFormat(GLint internalFormat, GLenum format) {
    if (internalFormat == 3 || internalFormat == GL_RGB || internalFormat == GL_RGB8) return GL_RGB;
    if (internalFormat == 4 || internalFormat == GL_RGBA || internalFormat == GL_RGBA8) return GL_RGBA;
    return format;
}

TextureInfo& boundInfo() {
    LayerState& s = state();
    return s.textures[s.units[s.activeUnit].bound];
}

void upload(GLint level, GLenum format, int width, int height, const void* pixels) {
    glTexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
}

}  // namespace

}  // namespace gles

using namespace gles;

void gles_glGenTextures(GLsizei n, GLuint* textures) {
    glGenTextures(n, textures);
    for (GLsizei i = 0; i < n; ++i) state().textures[textures[i]] = TextureInfo{};
}

void gles_glDeleteTextures(GLsizei n, const GLuint* textures) {
    LayerState& s = state();
    for (GLsizei i = 0; i < n; ++i) {
        s.textures.erase(textures[i]);
        for (TextureUnit& u : s.units) {
            if (u.bound == textures[i]) u.bound = 0;
        }
    }
    glDeleteTextures(n, textures);
}

void gles_glBindTexture(GLenum target, GLuint texture) {
    state().units[state().activeUnit].bound = texture;
    glBindTexture(target, texture);
}

GLboolean gles_glIsTexture(GLuint texture) { return state().textures.count(texture) ? glIsTexture(texture) : GL_FALSE; }

void gles_glTexParameteri(GLenum target, GLenum pname, GLint param) {
    if (pname == GL_TEXTURE_MIN_FILTER) boundInfo().mipmapFilter = param != GL_NEAREST && param != GL_LINEAR;
    if (param == 0x2900) param = GL_CLAMP_TO_EDGE;  // GL_CLAMP
    glTexParameteri(target, pname, param);
}

void gles_glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
    gles_glTexParameteri(target, pname, static_cast<GLint>(param));
}

void gles_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint,
                       GLenum format, GLenum type, const void* pixels) {
    GLenum f = unsizedFormat(internalFormat, format);
    glTexImage2D(target, level, static_cast<GLint>(f), width, height, 0, format, type, pixels);
    if (level == 0 && width > 0 && height > 0) {
        TextureInfo& info = boundInfo();
        info.hasImage = true;
        info.hasMipmaps = false;
    }
}

void gles_glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                          GLenum type, const void* pixels) {
    glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
}

void gles_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels) {
    if (width <= 0 || height <= 0) return;
    LayerState& s = state();
    std::size_t w = std::size_t(width), h = std::size_t(height);
    if (format == GL_DEPTH_COMPONENT && type == GL_FLOAT) {
        auto* out = static_cast<float*>(pixels);
        for (std::size_t row = 0; row < h; ++row) {
            for (std::size_t col = 0; col < w; ++col) out[row * w + col] = readDepth(x + int(col), y + int(row));
        }
        return;
    }
    if (format == GL_RGBA && type == GL_UNSIGNED_BYTE) {
        glReadPixels(x, y, width, height, format, type, pixels);
        return;
    }
    if (format != GL_RGB || type != GL_UNSIGNED_BYTE) return;
    std::vector<std::uint8_t> rgba(w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, s.packAlignment);
    packRgb(rgba.data(), width, height, s.packAlignment, static_cast<std::uint8_t*>(pixels));
}

GLint gles_gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                             const void* data) {
    if (width <= 0 || height <= 0 || !data || type != GL_UNSIGNED_BYTE) return GL_INVALID_VALUE;
    int channels = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 1;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    std::vector<MipLevel> chain =
        buildMipChain(static_cast<const std::uint8_t*>(data), width, height, channels, state().unpackAlignment, maxSize);
    (void)components;  // GLES takes the image's own format as the texture's
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (std::size_t level = 0; level < chain.size(); ++level) {
        upload(static_cast<GLint>(level), format, chain[level].width, chain[level].height,
               chain[level].pixels.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, state().unpackAlignment);
    (void)target;
    TextureInfo& info = boundInfo();
    info.hasImage = true;
    info.hasMipmaps = true;
    return 0;
}
