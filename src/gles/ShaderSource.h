// The layer's two programs: the fixed-function pipeline the show uses, and the probe that
// turns one pixel of the depth texture into colour bytes.
#pragma once

namespace gles {

extern const char kFixedVertexShader[];
extern const char kFixedFragmentShader[];
extern const char kDepthProbeVertexShader[];
extern const char kDepthProbeFragmentShader[];

}  // namespace gles
