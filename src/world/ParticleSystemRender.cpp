// Drawing and animation of a ParticleSystem: the dust field and the line and circle emitters.
#include "world/ParticleSystem.h"

#include <GL/gl.h>

#include <cmath>

#include "script/Camera.h"
#include "world/ObjectAnimation.h"

namespace {

struct ViewAxes {
    Vec3 right;
    Vec3 up;
};

// The camera's right and up in world space, read from the model-view matrix.
ViewAxes currentViewAxes() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return {make(m[0], m[4], m[8]), make(m[1], m[5], m[9])};
}

// One camera-facing quad around `centre` (inside a glBegin(GL_QUADS) run). The corners
// are those of the strip (-R-U, R-U, -R+U, R+U), listed around the quad.
void emitQuad(Vec3 centre, Vec3 r, Vec3 u) {
    Vec3 c0 = centre - r - u, c1 = centre + r - u, c3 = centre + r + u, c2 = centre - r + u;
    glTexCoord2f(0, 0); glVertex3f(c0.x, c0.y, c0.z);
    glTexCoord2f(1, 0); glVertex3f(c1.x, c1.y, c1.z);
    glTexCoord2f(1, 1); glVertex3f(c3.x, c3.y, c3.z);
    glTexCoord2f(0, 1); glVertex3f(c2.x, c2.y, c2.z);
}

// A quad spun in its own plane by `degrees` about the view axis, around `centre`.
void emitSpunQuad(Vec3 centre, Vec3 r, Vec3 u, float degrees) {
    float a = degrees * 3.14159265358979f / 180;
    float c = std::cos(a), s = std::sin(a);
    // Turning about N = R x U carries R towards U.
    emitQuad(centre, r * c + u * s, u * c - r * s);
}

// point rotated by `degrees` about the unit axis through the origin (right-handed).
Vec3 rotateAbout(Vec3 v, Vec3 axis, float degrees) {
    if (length(axis) == 0) return v;  // no axis: the particle stays at its start
    float a = degrees * 3.14159265358979f / 180;
    float c = std::cos(a), s = std::sin(a);
    return v * c + cross(axis, v) * s + axis * (dot(axis, v) * (1 - c));
}


void beginAdditiveSprites(unsigned texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

// Dust around the camera: drawn where it is, then moved; particles that leave the shell
// come back near the camera.
void renderField(ParticleSystem& field, const Camera& camera) {
    ViewAxes axes = currentViewAxes();
    Vec3 r = axes.right * field.size, u = axes.up * field.size;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    beginAdditiveSprites(field.texture);
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < field.positions.size(); ++i) {
        Vec3& p = field.positions[i];
        float shade = dustShade(length(p - camera.position));
        glColor4f(shade, shade, shade, 0.8f);
        emitQuad(p, r, u);
        stepDustParticle(p, field.velocities[i], field.accelerations[i], camera.position);
    }
    glEnd();
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}

void beginEmitter(const ParticleSystem& emitter) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    beginAdditiveSprites(emitter.texture);
}

// Emitters leave lighting as they found it (on), so objects drawn after them are lit like
// every other object.
void endEmitter() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

// Particles sit still along point1 -> point2, spinning and fading in along the line.
void renderLine(const ParticleSystem& emitter) {
    ViewAxes axes = currentViewAxes();
    Vec3 r = axes.right * emitter.size, u = axes.up * emitter.size;
    beginEmitter(emitter);
    float v = emitterPhase(emitter.elapsed, emitter.period);
    int count = static_cast<int>(emitter.positions.size());
    glBegin(GL_QUADS);
    for (int i = 0; i < count; ++i) {
        float t = static_cast<float>(i) / count;
        Vec3 centre = emitter.point1 + (emitter.point2 - emitter.point1) * t;
        glColor4f(1, 1, 1, t);
        emitSpunQuad(centre, r, u, 1800 * v + 1800 * (t + v));
    }
    glEnd();
    endEmitter();
}

// Particles travel once per period round the circle through point1 about the "rot" axis
// through point2.
void renderCircle(const ParticleSystem& emitter) {
    ViewAxes axes = currentViewAxes();
    Vec3 r = axes.right * emitter.size, u = axes.up * emitter.size;
    beginEmitter(emitter);
    float v = emitterPhase(emitter.elapsed, emitter.period);
    Vec3 axis = normalize(emitter.right);
    Vec3 arm = emitter.point1 - emitter.point2;
    int count = static_cast<int>(emitter.positions.size());
    glColor4f(1, 1, 1, 0.15f);
    glBegin(GL_QUADS);
    for (int i = 0; i < count; ++i) {
        float t = static_cast<float>(i) / count + v;
        Vec3 centre = emitter.point2 + rotateAbout(arm, axis, 360 * t);
        emitSpunQuad(centre, r, u, 1800 * v + emitter.startAngle + 1080 * t);
    }
    glEnd();
    endEmitter();
}

}  // namespace

void ParticleSystem::update(double dt) {
    elapsed = static_cast<float>(elapsed + dt);
    if (elapsed > period) elapsed -= period;
}

void ParticleSystem::render(const Camera& camera) {
    switch (mode) {
    case Field: renderField(*this, camera); break;
    case LineEmitter: renderLine(*this); break;
    case CircleEmitter: renderCircle(*this); break;
    default: break;
    }
}
