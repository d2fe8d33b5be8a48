// The GLU calls the show makes, over the layer's matrices.
#include <cmath>

#include "gles/GlesHeaders.h"
#include "gles/LayerState.h"

using GLdouble = double;

void gles_gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux,
                    GLdouble uy, GLdouble uz) {
    gles::multiplyCurrent(gles::lookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz));
}

void gles_gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    double top = zNear * std::tan(fovy * 3.14159265358979323846 / 360.0);
    gles::multiplyCurrent(gles::frustum(-top * aspect, top * aspect, -top, top, zNear, zFar));
}

void gles_gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
    gles::multiplyCurrent(gles::ortho(left, right, bottom, top, -1, 1));
}

// As GLU: object point through model-view and projection to window coordinates; false
// when the point lies in the eye's plane (w = 0).
GLint gles_gluProject(GLdouble x, GLdouble y, GLdouble z, const GLdouble* model, const GLdouble* proj,
                      const GLint* view, GLdouble* wx, GLdouble* wy, GLdouble* wz) {
    double in[4] = {x, y, z, 1}, eye[4], clip[4];
    for (int r = 0; r < 4; ++r) eye[r] = model[r] * in[0] + model[4 + r] * in[1] + model[8 + r] * in[2] + model[12 + r] * in[3];
    for (int r = 0; r < 4; ++r) clip[r] = proj[r] * eye[0] + proj[4 + r] * eye[1] + proj[8 + r] * eye[2] + proj[12 + r] * eye[3];
    if (clip[3] == 0.0) return GL_FALSE;
    for (int i = 0; i < 3; ++i) clip[i] = clip[i] / clip[3] * 0.5 + 0.5;
    *wx = clip[0] * view[2] + view[0];
    *wy = clip[1] * view[3] + view[1];
    *wz = clip[2];
    return GL_TRUE;
}
