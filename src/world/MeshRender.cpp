// Drawing and animation of a Mesh.
#include "world/Mesh.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "script/Camera.h"
#include "script/Maths.h"
#include "world/GlExtensions.h"
#include "world/ObjectAnimation.h"

namespace {

// Unit 1 of a mesh without a second map shows this, so it never shows another object's
// texture left bound there. Recreated when the context no longer knows it.
GLuint neutralWhiteTexture() {
    static GLuint name = 0;
    if (name != 0 && glIsTexture(name)) return name;
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    return name;
}

void applySceneFog() {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, sceneFog.mode == SceneFog::Linear ? GL_LINEAR : GL_EXP);
    glFogf(GL_FOG_DENSITY, sceneFog.density);
    glFogf(GL_FOG_START, sceneFog.start);
    glFogf(GL_FOG_END, sceneFog.end);
    glFogfv(GL_FOG_COLOR, sceneFog.color);
}

void multiplyFrame(Vec3 look, Vec3 right) {
    Vec3 third = cross(look, right);
    const float frame[16] = {look.x,  look.y,  look.z,  0, right.x, right.y, right.z, 0,
                             third.x, third.y, third.z, 0, 0,       0,       0,       1};
    glMultMatrixf(frame);
}

// Second map: a chrome reflection by sphere mapping, or tiled over the model.
void setUpSecondUnit(const Mesh& mesh) {
    glActiveTextureARBPtr(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    if (mesh.chrome) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glScalef(mesh.tiling, mesh.tiling, 1);
    }
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, mesh.hasTexture2 ? mesh.texture2 : neutralWhiteTexture());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mesh.additive ? GL_ADD : GL_MODULATE);
}

void restoreSecondUnit() {
    glActiveTextureARBPtr(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARBPtr(GL_TEXTURE0_ARB);
}

}  // namespace

void Mesh::update(double) {
    if (track.empty()) return;
    trackTime = sceneClock;
    MeshTrackSample sample;
    if (!findMeshSegment(track, static_cast<float>(trackTime), sample)) return;
    trackTime = sample.time;
    TrackPoint point = evaluateSegment(*sample.k0, *sample.k1, sample.time);
    position = point.position;
    orientation = point.orientation;
    axesFromOrientation(orientation, look, right);
}

void Mesh::render(const Camera&) {
    if (!visible) return;
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    if (fogEnabled) applySceneFog();
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    multiplyFrame(look, right);
    glRotatef(orientAngle, orientAxis.x, orientAxis.y, orientAxis.z);
    glScalef(scale, scale, scale);
    glColor4f(1, 1, 1, 1);

    glEnable(GL_TEXTURE_2D);
    if (hasTexture) glBindTexture(GL_TEXTURE_2D, texture);
    const bool twoUnits = glActiveTextureARBPtr != nullptr;
    if (twoUnits) setUpSecondUnit(*this);

    if (metal) {
        static const float specular[4] = {0.4f, 0.4f, 0.4f, 1};
        glDisable(GL_COLOR_MATERIAL);
        glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
        glMaterialf(GL_FRONT, GL_SHININESS, 19.6f);
        glEnable(GL_LIGHT0);
    }
    if (displayList != 0) glCallList(displayList);
    if (metal) {
        static const float noSpecular[4] = {0, 0, 0, 1};
        glDisable(GL_LIGHT0);
        glMaterialfv(GL_FRONT, GL_SPECULAR, noSpecular);
        glMaterialf(GL_FRONT, GL_SHININESS, 0);
    }

    glEnable(GL_BLEND);
    if (twoUnits) restoreSecondUnit();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}
