// The GLU calls the show makes, as the GLES layer (src/gles) provides them.
#pragma once

#include <GL/gl.h>

GLint gles_gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                             const void* data);
void gles_gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                    GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);
void gles_gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void gles_gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
GLint gles_gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model, const GLdouble* proj,
                      const GLint* view, GLdouble* winX, GLdouble* winY, GLdouble* winZ);

#define gluBuild2DMipmaps gles_gluBuild2DMipmaps
#define gluLookAt gles_gluLookAt
#define gluPerspective gles_gluPerspective
#define gluOrtho2D gles_gluOrtho2D
#define gluProject gles_gluProject
