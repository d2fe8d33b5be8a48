// Windows ships the OpenGL 1.1 header only; the names the show uses from later versions
// (separate specular colour, the multitexture units) come from glext.h, which the Linux
// gl.h includes by itself. The Windows build includes this first in every file. The
// MinGW gl.h pulls in windows.h: without its min/max macros, and without the empty
// near/far of 16-bit Windows, which would swallow ordinary names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#undef near
#undef far
