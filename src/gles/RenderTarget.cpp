// The layer's framebuffer: colour in a renderbuffer, depth in a texture the probe program
// can sample, copied to the window's framebuffer at each present.
#include <cstdio>

#include "gles/GlesHeaders.h"
#include "gles/GlesLayer.h"
#include "gles/LayerState.h"
#include "gles/Program.h"

namespace gles {

namespace {

struct Target {
    GLuint frame = 0;
    GLuint colour = 0;
    GLuint depth = 0;
    GLuint probeFrame = 0;
    GLuint probeColour = 0;
    int width = 0;
    int height = 0;
};

Target target;

void releaseTarget() {
    glDeleteFramebuffers(1, &target.frame);
    glDeleteRenderbuffers(1, &target.colour);
    glDeleteTextures(1, &target.depth);
    target.frame = target.colour = target.depth = 0;
}

void buildTarget(int width, int height) {
    releaseTarget();
    target.width = width;
    target.height = height;
    glGenRenderbuffers(1, &target.colour);
    glBindRenderbuffer(GL_RENDERBUFFER, target.colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &target.depth);
    glBindTexture(GL_TEXTURE_2D, target.depth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glGenFramebuffers(1, &target.frame);
    glBindFramebuffer(GL_FRAMEBUFFER, target.frame);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target.colour);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, target.depth, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "voidrift: the GLES layer's framebuffer is incomplete\n");
    }
}

void buildProbe() {
    glGenRenderbuffers(1, &target.probeColour);
    glBindRenderbuffer(GL_RENDERBUFFER, target.probeColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 1, 1);
    glGenFramebuffers(1, &target.probeFrame);
    glBindFramebuffer(GL_FRAMEBUFFER, target.probeFrame);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target.probeColour);
}

}  // namespace

void attachContext(int width, int height) {
    state() = LayerState{};
    createPrograms();
    buildProbe();
    buildTarget(width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, target.frame);
    glViewport(0, 0, width, height);
}

void detachContext() {
    releaseTarget();
    glDeleteFramebuffers(1, &target.probeFrame);
    glDeleteRenderbuffers(1, &target.probeColour);
    target = Target{};
    destroyPrograms();
}

void presentFrame(int width, int height) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.frame);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, target.width, target.height, 0, 0, target.width, target.height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    if (scissor) glEnable(GL_SCISSOR_TEST);
    // A resized window gets a framebuffer of its new size for the next frame.
    if (width > 0 && height > 0 && (width != target.width || height != target.height)) buildTarget(width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, target.frame);
}

unsigned frameBuffer() { return target.frame; }

float readDepth(int x, int y) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) return 1;
    GLint viewport[4], program = 0, texture = 0, unit = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST), blend = glIsEnabled(GL_BLEND), cull = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);

    glBindFramebuffer(GL_FRAMEBUFFER, target.probeFrame);
    glViewport(0, 0, 1, 1);
    glUseProgram(depthProbeProgram());
    glUniform2i(depthProbePixelUniform(), x, y);
    glBindTexture(GL_TEXTURE_2D, target.depth);
    glDrawArrays(GL_POINTS, 0, 1);
    GLubyte bytes[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, state().packAlignment);

    glBindFramebuffer(GL_FRAMEBUFFER, target.frame);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
    glActiveTexture(static_cast<GLenum>(unit));
    glUseProgram(static_cast<GLuint>(program));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    if (depthTest) glEnable(GL_DEPTH_TEST);
    if (blend) glEnable(GL_BLEND);
    if (cull) glEnable(GL_CULL_FACE);
    std::uint32_t v = (std::uint32_t(bytes[0]) << 16) | (std::uint32_t(bytes[1]) << 8) | bytes[2];
    return static_cast<float>(v / 16777215.0);
}

}  // namespace gles
