// The layer's GLES programs and buffers, made when a context is attached.
#pragma once

namespace gles {

bool createPrograms();
void destroyPrograms();
// The probe program and its uniform for the pixel to read.
unsigned depthProbeProgram();
int depthProbePixelUniform();

}  // namespace gles
