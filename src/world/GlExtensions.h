// Extension entry points fetched once at GL set-up; null when the driver lacks them.
#pragma once

#include <GL/gl.h>

using ActiveTextureFn = void (*)(GLenum texture);
using MultiTexCoord2fFn = void (*)(GLenum target, GLfloat s, GLfloat t);
using SwapIntervalFn = int (*)(int interval);
using GetSwapIntervalFn = int (*)();

extern ActiveTextureFn glActiveTextureARBPtr;
extern ActiveTextureFn glClientActiveTextureARBPtr;
extern MultiTexCoord2fFn glMultiTexCoord2fARBPtr;
