// The extension names the show uses are part of the layer's gl.h.
#pragma once
#include <GL/gl.h>
