// The real GLES 3 / WebGL 2 API, for the layer's own files only (the drawing code sees
// include/GL/gl.h instead).
#pragma once

#include <GLES3/gl3.h>
