// The GL 1.1 subset the show draws with, as the GLES layer (src/gles) provides it. A
// build that puts src/gles/include ahead of the system headers compiles the unchanged
// drawing code against the layer: every gl name below is the layer's function.
#pragma once

// Code that must behave otherwise over the layer asks for this.
#define VOIDRIFT_GLES_LAYER 1

#include <stddef.h>

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef void GLvoid;
typedef signed char GLbyte;
typedef short GLshort;
typedef int GLint;
typedef unsigned char GLubyte;
typedef unsigned short GLushort;
typedef unsigned int GLuint;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef double GLclampd;

#define GL_FALSE 0
#define GL_TRUE 1
#define GL_NONE 0
#define GL_TEXTURE_ENV_COLOR 0x2201
#define GL_ADD 0x0104
#define GL_ALPHA 0x1906
#define GL_ALPHA_TEST 0x0BC0
#define GL_ALPHA_TEST_FUNC 0x0BC1
#define GL_ALPHA_TEST_REF 0x0BC2
#define GL_ALWAYS 0x0207
#define GL_AMBIENT 0x1200
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_BACK 0x0405
#define GL_BLEND 0x0BE2
#define GL_BLEND_DST 0x0BE0
#define GL_BLEND_SRC 0x0BE1
#define GL_BYTE 0x1400
#define GL_CCW 0x0901
#define GL_CLAMP 0x2900
#define GL_CLAMP_TO_EDGE 0x812F
#define GL_COLOR_ARRAY 0x8076
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_COLOR_MATERIAL 0x0B57
#define GL_COMPILE 0x1300
#define GL_COMPILE_AND_EXECUTE 0x1301
#define GL_CONSTANT_ATTENUATION 0x1207
#define GL_CULL_FACE 0x0B44
#define GL_CURRENT_COLOR 0x0B00
#define GL_CW 0x0900
#define GL_DECAL 0x2101
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_DEPTH_COMPONENT 0x1902
#define GL_DEPTH_FUNC 0x0B74
#define GL_DEPTH_TEST 0x0B71
#define GL_DEPTH_WRITEMASK 0x0B72
#define GL_DIFFUSE 0x1201
#define GL_DITHER 0x0BD0
#define GL_DONT_CARE 0x1100
#define GL_DOUBLE 0x140A
#define GL_DST_ALPHA 0x0304
#define GL_DST_COLOR 0x0306
#define GL_EMISSION 0x1600
#define GL_EQUAL 0x0202
#define GL_EXP 0x0800
#define GL_EXTENSIONS 0x1F03
#define GL_FASTEST 0x1101
#define GL_FLAT 0x1D00
#define GL_FLOAT 0x1406
#define GL_FOG 0x0B60
#define GL_FOG_COLOR 0x0B66
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_START 0x0B63
#define GL_FRONT 0x0404
#define GL_FRONT_AND_BACK 0x0408
#define GL_GEQUAL 0x0206
#define GL_GREATER 0x0204
#define GL_INT 0x1404
#define GL_INVALID_ENUM 0x0500
#define GL_INVALID_OPERATION 0x0502
#define GL_INVALID_VALUE 0x0501
#define GL_LEQUAL 0x0203
#define GL_LESS 0x0201
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001
#define GL_LIGHT2 0x4002
#define GL_LIGHTING 0x0B50
#define GL_LIGHT_MODEL_AMBIENT 0x0B53
#define GL_LIGHT_MODEL_COLOR_CONTROL 0x81F8
#define GL_LIGHT_MODEL_LOCAL_VIEWER 0x0B51
#define GL_LIGHT_MODEL_TWO_SIDE 0x0B52
#define GL_LINEAR 0x2601
#define GL_LINEAR_ATTENUATION 0x1208
#define GL_LINEAR_MIPMAP_LINEAR 0x2703
#define GL_LINEAR_MIPMAP_NEAREST 0x2701
#define GL_LINES 0x0001
#define GL_LINE_LOOP 0x0002
#define GL_LINE_SMOOTH 0x0B20
#define GL_LINE_STRIP 0x0003
#define GL_LUMINANCE 0x1909
#define GL_LUMINANCE_ALPHA 0x190A
#define GL_MATRIX_MODE 0x0BA0
#define GL_MAX_TEXTURE_SIZE 0x0D33
#define GL_MODELVIEW 0x1700
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_MODULATE 0x2100
#define GL_NEAREST 0x2600
#define GL_NEAREST_MIPMAP_LINEAR 0x2702
#define GL_NEAREST_MIPMAP_NEAREST 0x2700
#define GL_NEVER 0x0200
#define GL_NICEST 0x1102
#define GL_NORMALIZE 0x0BA1
#define GL_NORMAL_ARRAY 0x8075
#define GL_NOTEQUAL 0x0205
#define GL_NO_ERROR 0
#define GL_ONE 1
#define GL_ONE_MINUS_DST_ALPHA 0x0305
#define GL_ONE_MINUS_DST_COLOR 0x0307
#define GL_ONE_MINUS_SRC_ALPHA 0x0303
#define GL_ONE_MINUS_SRC_COLOR 0x0301
#define GL_OUT_OF_MEMORY 0x0505
#define GL_PACK_ALIGNMENT 0x0D05
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_POINTS 0x0000
#define GL_POLYGON 0x0009
#define GL_POLYGON_OFFSET_FILL 0x8037
#define GL_POSITION 0x1203
#define GL_PROJECTION 0x1701
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_QUADRATIC_ATTENUATION 0x1209
#define GL_QUADS 0x0007
#define GL_QUAD_STRIP 0x0008
#define GL_RENDERER 0x1F01
#define GL_REPEAT 0x2901
#define GL_REPLACE 0x1E01
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_S 0x2000
#define GL_SCISSOR_TEST 0x0C11
#define GL_SEPARATE_SPECULAR_COLOR 0x81FA
#define GL_SHININESS 0x1601
#define GL_SHORT 0x1402
#define GL_SINGLE_COLOR 0x81F9
#define GL_SMOOTH 0x1D01
#define GL_SPECULAR 0x1202
#define GL_SPHERE_MAP 0x2402
#define GL_SPOT_CUTOFF 0x1206
#define GL_SPOT_DIRECTION 0x1204
#define GL_SPOT_EXPONENT 0x1205
#define GL_SRC_ALPHA 0x0302
#define GL_SRC_ALPHA_SATURATE 0x0308
#define GL_SRC_COLOR 0x0300
#define GL_STACK_OVERFLOW 0x0503
#define GL_STACK_UNDERFLOW 0x0504
#define GL_STENCIL_BUFFER_BIT 0x00000400
#define GL_T 0x2001
#define GL_TEXTURE 0x1702
#define GL_TEXTURE0 0x84C0
#define GL_TEXTURE0_ARB 0x84C0
#define GL_TEXTURE1 0x84C1
#define GL_TEXTURE1_ARB 0x84C1
#define GL_TEXTURE_2D 0x0DE1
#define GL_TEXTURE_COORD_ARRAY 0x8078
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MATRIX 0x0BA8
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_TRIANGLES 0x0004
#define GL_TRIANGLE_FAN 0x0006
#define GL_TRIANGLE_STRIP 0x0005
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#define GL_UNSIGNED_BYTE 0x1401
#define GL_UNSIGNED_INT 0x1405
#define GL_UNSIGNED_SHORT 0x1403
#define GL_VENDOR 0x1F00
#define GL_VERSION 0x1F02
#define GL_VERTEX_ARRAY 0x8074
#define GL_VIEWPORT 0x0BA2
#define GL_ZERO 0

#ifndef APIENTRY
#define APIENTRY
#endif
#ifndef GLAPIENTRY
#define GLAPIENTRY
#endif

void gles_glEnable(GLenum cap);
void gles_glDisable(GLenum cap);
GLboolean gles_glIsEnabled(GLenum cap);
void gles_glMatrixMode(GLenum mode);
void gles_glLoadIdentity(void);
void gles_glPushMatrix(void);
void gles_glPopMatrix(void);
void gles_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void gles_glTranslated(GLdouble x, GLdouble y, GLdouble z);
void gles_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void gles_glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
void gles_glScalef(GLfloat x, GLfloat y, GLfloat z);
void gles_glScaled(GLdouble x, GLdouble y, GLdouble z);
void gles_glMultMatrixf(const GLfloat* m);
void gles_glMultMatrixd(const GLdouble* m);
void gles_glLoadMatrixf(const GLfloat* m);
void gles_glLoadMatrixd(const GLdouble* m);
void gles_glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar);
void gles_glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar);
void gles_glBegin(GLenum mode);
void gles_glEnd(void);
void gles_glVertex2f(GLfloat x, GLfloat y);
void gles_glVertex2i(GLint x, GLint y);
void gles_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void gles_glVertex3fv(const GLfloat* v);
void gles_glColor3f(GLfloat r, GLfloat g, GLfloat b);
void gles_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void gles_glColor3ub(GLubyte r, GLubyte g, GLubyte b);
void gles_glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a);
void gles_glColor4fv(const GLfloat* v);
void gles_glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void gles_glNormal3fv(const GLfloat* v);
void gles_glTexCoord2f(GLfloat s, GLfloat t);
void gles_glTexCoord2fv(const GLfloat* v);
void gles_glMultiTexCoord2f(GLenum unit, GLfloat s, GLfloat t);
void gles_glMultiTexCoord2fARB(GLenum unit, GLfloat s, GLfloat t);
void gles_glActiveTexture(GLenum unit);
void gles_glActiveTextureARB(GLenum unit);
void gles_glClientActiveTexture(GLenum unit);
void gles_glClientActiveTextureARB(GLenum unit);
void gles_glEnableClientState(GLenum array);
void gles_glDisableClientState(GLenum array);
void gles_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void gles_glNormalPointer(GLenum type, GLsizei stride, const void* pointer);
void gles_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void gles_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void gles_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void gles_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
GLuint gles_glGenLists(GLsizei range);
void gles_glNewList(GLuint list, GLenum mode);
void gles_glEndList(void);
void gles_glCallList(GLuint list);
void gles_glDeleteLists(GLuint list, GLsizei range);
GLboolean gles_glIsList(GLuint list);
void gles_glLightf(GLenum light, GLenum pname, GLfloat param);
void gles_glLightfv(GLenum light, GLenum pname, const GLfloat* params);
void gles_glLightModeli(GLenum pname, GLint param);
void gles_glLightModelfv(GLenum pname, const GLfloat* params);
void gles_glMaterialf(GLenum face, GLenum pname, GLfloat param);
void gles_glMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void gles_glColorMaterial(GLenum face, GLenum mode);
void gles_glFogi(GLenum pname, GLint param);
void gles_glFogf(GLenum pname, GLfloat param);
void gles_glFogfv(GLenum pname, const GLfloat* params);
void gles_glAlphaFunc(GLenum func, GLclampf ref);
void gles_glTexGeni(GLenum coord, GLenum pname, GLint param);
void gles_glTexEnvi(GLenum target, GLenum pname, GLint param);
void gles_glTexEnvf(GLenum target, GLenum pname, GLfloat param);
void gles_glShadeModel(GLenum mode);
void gles_glHint(GLenum target, GLenum mode);
void gles_glLineWidth(GLfloat width);
void gles_glPointSize(GLfloat size);
void gles_glBlendFunc(GLenum sfactor, GLenum dfactor);
void gles_glDepthMask(GLboolean flag);
void gles_glDepthFunc(GLenum func);
void gles_glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a);
void gles_glCullFace(GLenum mode);
void gles_glFrontFace(GLenum mode);
void gles_glClear(GLbitfield mask);
void gles_glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a);
void gles_glClearDepth(GLclampd depth);
void gles_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void gles_glScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void gles_glFinish(void);
void gles_glFlush(void);
GLenum gles_glGetError(void);
const GLubyte* gles_glGetString(GLenum name);
void gles_glGetFloatv(GLenum pname, GLfloat* params);
void gles_glGetDoublev(GLenum pname, GLdouble* params);
void gles_glGetIntegerv(GLenum pname, GLint* params);
void gles_glGenTextures(GLsizei n, GLuint* textures);
void gles_glDeleteTextures(GLsizei n, const GLuint* textures);
void gles_glBindTexture(GLenum target, GLuint texture);
GLboolean gles_glIsTexture(GLuint texture);
void gles_glTexParameteri(GLenum target, GLenum pname, GLint param);
void gles_glTexParameterf(GLenum target, GLenum pname, GLfloat param);
void gles_glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels);
void gles_glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels);
void gles_glPixelStorei(GLenum pname, GLint param);
void gles_glReadBuffer(GLenum mode);
void gles_glDrawBuffer(GLenum mode);
void gles_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);

#define glEnable gles_glEnable
#define glDisable gles_glDisable
#define glIsEnabled gles_glIsEnabled
#define glMatrixMode gles_glMatrixMode
#define glLoadIdentity gles_glLoadIdentity
#define glPushMatrix gles_glPushMatrix
#define glPopMatrix gles_glPopMatrix
#define glTranslatef gles_glTranslatef
#define glTranslated gles_glTranslated
#define glRotatef gles_glRotatef
#define glRotated gles_glRotated
#define glScalef gles_glScalef
#define glScaled gles_glScaled
#define glMultMatrixf gles_glMultMatrixf
#define glMultMatrixd gles_glMultMatrixd
#define glLoadMatrixf gles_glLoadMatrixf
#define glLoadMatrixd gles_glLoadMatrixd
#define glFrustum gles_glFrustum
#define glOrtho gles_glOrtho
#define glBegin gles_glBegin
#define glEnd gles_glEnd
#define glVertex2f gles_glVertex2f
#define glVertex2i gles_glVertex2i
#define glVertex3f gles_glVertex3f
#define glVertex3fv gles_glVertex3fv
#define glColor3f gles_glColor3f
#define glColor4f gles_glColor4f
#define glColor3ub gles_glColor3ub
#define glColor4ub gles_glColor4ub
#define glColor4fv gles_glColor4fv
#define glNormal3f gles_glNormal3f
#define glNormal3fv gles_glNormal3fv
#define glTexCoord2f gles_glTexCoord2f
#define glTexCoord2fv gles_glTexCoord2fv
#define glMultiTexCoord2f gles_glMultiTexCoord2f
#define glMultiTexCoord2fARB gles_glMultiTexCoord2fARB
#define glActiveTexture gles_glActiveTexture
#define glActiveTextureARB gles_glActiveTextureARB
#define glClientActiveTexture gles_glClientActiveTexture
#define glClientActiveTextureARB gles_glClientActiveTextureARB
#define glEnableClientState gles_glEnableClientState
#define glDisableClientState gles_glDisableClientState
#define glVertexPointer gles_glVertexPointer
#define glNormalPointer gles_glNormalPointer
#define glColorPointer gles_glColorPointer
#define glTexCoordPointer gles_glTexCoordPointer
#define glDrawArrays gles_glDrawArrays
#define glDrawElements gles_glDrawElements
#define glGenLists gles_glGenLists
#define glNewList gles_glNewList
#define glEndList gles_glEndList
#define glCallList gles_glCallList
#define glDeleteLists gles_glDeleteLists
#define glIsList gles_glIsList
#define glLightf gles_glLightf
#define glLightfv gles_glLightfv
#define glLightModeli gles_glLightModeli
#define glLightModelfv gles_glLightModelfv
#define glMaterialf gles_glMaterialf
#define glMaterialfv gles_glMaterialfv
#define glColorMaterial gles_glColorMaterial
#define glFogi gles_glFogi
#define glFogf gles_glFogf
#define glFogfv gles_glFogfv
#define glAlphaFunc gles_glAlphaFunc
#define glTexGeni gles_glTexGeni
#define glTexEnvi gles_glTexEnvi
#define glTexEnvf gles_glTexEnvf
#define glShadeModel gles_glShadeModel
#define glHint gles_glHint
#define glLineWidth gles_glLineWidth
#define glPointSize gles_glPointSize
#define glBlendFunc gles_glBlendFunc
#define glDepthMask gles_glDepthMask
#define glDepthFunc gles_glDepthFunc
#define glColorMask gles_glColorMask
#define glCullFace gles_glCullFace
#define glFrontFace gles_glFrontFace
#define glClear gles_glClear
#define glClearColor gles_glClearColor
#define glClearDepth gles_glClearDepth
#define glViewport gles_glViewport
#define glScissor gles_glScissor
#define glFinish gles_glFinish
#define glFlush gles_glFlush
#define glGetError gles_glGetError
#define glGetString gles_glGetString
#define glGetFloatv gles_glGetFloatv
#define glGetDoublev gles_glGetDoublev
#define glGetIntegerv gles_glGetIntegerv
#define glGenTextures gles_glGenTextures
#define glDeleteTextures gles_glDeleteTextures
#define glBindTexture gles_glBindTexture
#define glIsTexture gles_glIsTexture
#define glTexParameteri gles_glTexParameteri
#define glTexParameterf gles_glTexParameterf
#define glTexImage2D gles_glTexImage2D
#define glTexSubImage2D gles_glTexSubImage2D
#define glPixelStorei gles_glPixelStorei
#define glReadBuffer gles_glReadBuffer
#define glDrawBuffer gles_glDrawBuffer
#define glReadPixels gles_glReadPixels
