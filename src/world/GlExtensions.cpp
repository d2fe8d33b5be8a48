#include "world/GlExtensions.h"

ActiveTextureFn glActiveTextureARBPtr = nullptr;
ActiveTextureFn glClientActiveTextureARBPtr = nullptr;
MultiTexCoord2fFn glMultiTexCoord2fARBPtr = nullptr;
