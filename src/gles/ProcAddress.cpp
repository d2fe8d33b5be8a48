#include <cstring>

#include "gles/GlesLayer.h"

using GLenum = unsigned int;
using GLfloat = float;

void gles_glActiveTextureARB(GLenum unit);
void gles_glClientActiveTextureARB(GLenum unit);
void gles_glMultiTexCoord2fARB(GLenum unit, GLfloat s, GLfloat t);

namespace gles {

void* procAddress(const char* name) {
    struct Entry {
        const char* name;
        void* function;
    };
    static const Entry entries[] = {
        {"glActiveTextureARB", reinterpret_cast<void*>(&gles_glActiveTextureARB)},
        {"glActiveTexture", reinterpret_cast<void*>(&gles_glActiveTextureARB)},
        {"glClientActiveTextureARB", reinterpret_cast<void*>(&gles_glClientActiveTextureARB)},
        {"glClientActiveTexture", reinterpret_cast<void*>(&gles_glClientActiveTextureARB)},
        {"glMultiTexCoord2fARB", reinterpret_cast<void*>(&gles_glMultiTexCoord2fARB)},
        {"glMultiTexCoord2f", reinterpret_cast<void*>(&gles_glMultiTexCoord2fARB)},
    };
    for (const Entry& e : entries) {
        if (std::strcmp(e.name, name) == 0) return e.function;
    }
    return nullptr;
}

}  // namespace gles
