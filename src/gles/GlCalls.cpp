// The GL 1.1 state calls: capabilities, matrices, lights, material, fog, texture units.
// Those GLES shares are handed on; the rest live in the layer's state.
#include <algorithm>

#include "gles/GlesHeaders.h"
#include "gles/LayerState.h"

using GLdouble = double;

namespace gles {

namespace {

LayerState layerState;

constexpr GLenum kModelview = 0x1700, kProjection = 0x1701, kTexture = 0x1702;
constexpr GLenum kLighting = 0x0B50, kColorMaterial = 0x0B57, kFog = 0x0B60, kNormalize = 0x0BA1,
                 kAlphaTest = 0x0BC0, kTexture2D = 0x0DE1, kGenS = 0x0C60, kGenT = 0x0C61, kLight0 = 0x4000;
constexpr GLenum kAmbient = 0x1200, kDiffuse = 0x1201, kSpecular = 0x1202, kPosition = 0x1203,
                 kSpotDirection = 0x1204, kSpotExponent = 0x1205, kSpotCutoff = 0x1206, kConstantAtt = 0x1207,
                 kEmission = 0x1600, kShininess = 0x1601, kAmbientAndDiffuse = 0x1602;

// Material ambient and diffuse follow the current colour while colour material is on,
// and keep the last one after.
void trackColour() {
    LayerState& s = layerState;
    if (!s.colorMaterial) return;
    std::copy(s.current.color, s.current.color + 4, s.material.ambient.begin());
    std::copy(s.current.color, s.current.color + 4, s.material.diffuse.begin());
}

bool setCapability(GLenum cap, bool on) {
    LayerState& s = layerState;
    TextureUnit& unit = s.units[s.activeUnit];
    switch (cap) {
        case kLighting: s.lighting = on; return true;
        case kColorMaterial:
            s.colorMaterial = on;
            trackColour();
            return true;
        case kFog: s.fog.on = on; return true;
        case kNormalize: return true;  // normals are always normalized
        case kAlphaTest: s.alphaTest = on; return true;
        case kTexture2D: unit.enabled = on; return true;
        case kGenS: unit.genS = on; return true;
        case kGenT: unit.genT = on; return true;
        default: break;
    }
    if (cap >= kLight0 && cap < kLight0 + kLights) {
        s.lights[cap - kLight0].on = on;
        return true;
    }
    // GLES has these; anything else GL 1.1 knows (smoothing, dithering hints) is left out.
    return !(cap == GL_BLEND || cap == GL_DEPTH_TEST || cap == GL_CULL_FACE || cap == GL_SCISSOR_TEST ||
             cap == GL_POLYGON_OFFSET_FILL || cap == GL_DITHER);
}

Light* lightNamed(GLenum light) {
    if (light < kLight0 || light >= kLight0 + kLights) return nullptr;
    return &layerState.lights[light - kLight0];
}

Vec4 vec4(const GLfloat* p) { return {p[0], p[1], p[2], p[3]}; }

}  // namespace

LayerState& state() { return layerState; }

std::vector<Mat4>& currentStack() {
    LayerState& s = layerState;
    if (s.matrixMode == kProjection) return s.projection;
    if (s.matrixMode == kTexture) return s.units[s.activeUnit].stack;
    return s.modelview;
}

void multiplyCurrent(const Mat4& m) {
    LayerState& s = layerState;
    if (s.recording) {
        ListOp op;
        op.matrix = m;
        s.lists[s.recording].ops.push_back(op);
        return;
    }
    Mat4& top = currentStack().back();
    top = multiply(top, m);
}

}  // namespace gles

using namespace gles;

void gles_glEnable(GLenum cap) {
    if (!setCapability(cap, true)) glEnable(cap);
}
void gles_glDisable(GLenum cap) {
    if (!setCapability(cap, false)) glDisable(cap);
}
GLboolean gles_glIsEnabled(GLenum cap) {
    LayerState& s = state();
    if (cap == kLighting) return s.lighting;
    if (cap == kFog) return s.fog.on;
    if (cap == kTexture2D) return s.units[s.activeUnit].enabled;
    if (Light* l = lightNamed(cap)) return l->on;
    return glIsEnabled(cap);
}

void gles_glMatrixMode(GLenum mode) { state().matrixMode = mode; }
void gles_glLoadIdentity() { currentStack().back() = identity(); }
void gles_glPushMatrix() {
    auto& stack = currentStack();
    stack.push_back(stack.back());
}
void gles_glPopMatrix() {
    auto& stack = currentStack();
    if (stack.size() > 1) stack.pop_back();
}
void gles_glTranslatef(GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(translation(x, y, z)); }
void gles_glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    multiplyCurrent(translation(float(x), float(y), float(z)));
}
void gles_glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(rotation(a, x, y, z)); }
void gles_glRotated(GLdouble a, GLdouble x, GLdouble y, GLdouble z) {
    multiplyCurrent(rotation(float(a), float(x), float(y), float(z)));
}
void gles_glScalef(GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(scaling(x, y, z)); }
void gles_glScaled(GLdouble x, GLdouble y, GLdouble z) { multiplyCurrent(scaling(float(x), float(y), float(z))); }
void gles_glMultMatrixf(const GLfloat* m) {
    Mat4 r;
    std::copy(m, m + 16, r.begin());
    multiplyCurrent(r);
}
void gles_glMultMatrixd(const GLdouble* m) {
    Mat4 r;
    for (int i = 0; i < 16; ++i) r[i] = static_cast<float>(m[i]);
    multiplyCurrent(r);
}
void gles_glLoadMatrixf(const GLfloat* m) { std::copy(m, m + 16, currentStack().back().begin()); }
void gles_glLoadMatrixd(const GLdouble* m) {
    for (int i = 0; i < 16; ++i) currentStack().back()[i] = static_cast<float>(m[i]);
}
void gles_glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    multiplyCurrent(frustum(l, r, b, t, n, f));
}
void gles_glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    multiplyCurrent(ortho(l, r, b, t, n, f));
}

void gles_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    LayerState& s = state();
    s.current.color[0] = r;
    s.current.color[1] = g;
    s.current.color[2] = b;
    s.current.color[3] = a;
    s.batchAttributes |= kColorBit;
    s.listAttributes |= kColorBit;
    trackColour();
}
void gles_glColor3f(GLfloat r, GLfloat g, GLfloat b) { gles_glColor4f(r, g, b, 1); }
void gles_glColor4fv(const GLfloat* v) { gles_glColor4f(v[0], v[1], v[2], v[3]); }
void gles_glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    gles_glColor4f(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}
void gles_glColor3ub(GLubyte r, GLubyte g, GLubyte b) { gles_glColor4ub(r, g, b, 255); }
void gles_glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    LayerState& s = state();
    s.current.normal[0] = x;
    s.current.normal[1] = y;
    s.current.normal[2] = z;
    s.batchAttributes |= kNormalBit;
    s.listAttributes |= kNormalBit;
}
void gles_glNormal3fv(const GLfloat* v) { gles_glNormal3f(v[0], v[1], v[2]); }
void gles_glMultiTexCoord2f(GLenum unit, GLfloat u, GLfloat v) {
    LayerState& s = state();
    int i = unit == GL_TEXTURE1 ? 1 : 0;
    s.current.tex[i][0] = u;
    s.current.tex[i][1] = v;
    unsigned bit = i == 1 ? kTex1Bit : kTex0Bit;
    s.batchAttributes |= bit;
    s.listAttributes |= bit;
}
void gles_glMultiTexCoord2fARB(GLenum unit, GLfloat u, GLfloat v) { gles_glMultiTexCoord2f(unit, u, v); }
void gles_glTexCoord2f(GLfloat u, GLfloat v) { gles_glMultiTexCoord2f(GL_TEXTURE0, u, v); }
void gles_glTexCoord2fv(const GLfloat* v) { gles_glTexCoord2f(v[0], v[1]); }

void gles_glActiveTexture(GLenum unit) {
    state().activeUnit = unit == GL_TEXTURE1 ? 1 : 0;
    glActiveTexture(unit);
}
void gles_glActiveTextureARB(GLenum unit) { gles_glActiveTexture(unit); }
void gles_glClientActiveTexture(GLenum unit) { state().clientUnit = unit == GL_TEXTURE1 ? 1 : 0; }
void gles_glClientActiveTextureARB(GLenum unit) { gles_glClientActiveTexture(unit); }

void gles_glLightf(GLenum light, GLenum pname, GLfloat value) {
    Light* l = lightNamed(light);
    if (!l) return;
    if (pname == kSpotExponent) l->spotExponent = value;
    if (pname == kSpotCutoff) l->spotCutoff = value;
    if (pname >= kConstantAtt && pname <= kConstantAtt + 2) l->attenuation[pname - kConstantAtt] = value;
}
void gles_glLightfv(GLenum light, GLenum pname, const GLfloat* p) {
    Light* l = lightNamed(light);
    if (!l) return;
    const Mat4& mv = state().modelview.back();
    switch (pname) {
        case kAmbient: l->ambient = vec4(p); break;
        case kDiffuse: l->diffuse = vec4(p); break;
        case kSpecular: l->specular = vec4(p); break;
        case kPosition: l->position = transform(mv, vec4(p)); break;
        case kSpotDirection: {
            auto d = transform(mv, {p[0], p[1], p[2], 0});
            l->spotDirection = {d[0], d[1], d[2]};
            break;
        }
        default: gles_glLightf(light, pname, p[0]);
    }
}
void gles_glLightModeli(GLenum pname, GLint param) {
    if (pname == 0x81F8) state().separateSpecular = param == 0x81FA;  // colour control
}
void gles_glLightModelfv(GLenum pname, const GLfloat* p) {
    if (pname == 0x0B53) state().sceneAmbient = vec4(p);  // GL_LIGHT_MODEL_AMBIENT
}
void gles_glMaterialfv(GLenum, GLenum pname, const GLfloat* p) {
    Material& m = state().material;
    switch (pname) {
        case kAmbient: m.ambient = vec4(p); break;
        case kDiffuse: m.diffuse = vec4(p); break;
        case kAmbientAndDiffuse: m.ambient = m.diffuse = vec4(p); break;
        case kSpecular: m.specular = vec4(p); break;
        case kEmission: m.emission = vec4(p); break;
        case kShininess: m.shininess = p[0]; break;
        default: break;
    }
}
void gles_glMaterialf(GLenum, GLenum pname, GLfloat value) {
    if (pname == kShininess) state().material.shininess = value;
}
void gles_glColorMaterial(GLenum, GLenum) {}  // the show keeps the default: ambient and diffuse

void gles_glFogf(GLenum pname, GLfloat value) {
    Fog& f = state().fog;
    if (pname == 0x0B62) f.density = value;
    if (pname == 0x0B63) f.start = value;
    if (pname == 0x0B64) f.end = value;
    if (pname == 0x0B65) f.mode = static_cast<unsigned>(value);
}
void gles_glFogi(GLenum pname, GLint value) { gles_glFogf(pname, static_cast<GLfloat>(value)); }
void gles_glFogfv(GLenum pname, const GLfloat* p) {
    if (pname == 0x0B66) state().fog.color = vec4(p);  // GL_FOG_COLOR
    else gles_glFogf(pname, p[0]);
}
void gles_glAlphaFunc(GLenum func, GLfloat ref) {
    state().alphaFunc = func;
    state().alphaRef = ref;
}
void gles_glTexGeni(GLenum, GLenum, GLint) {}  // sphere mapping is the one generation the show uses
void gles_glTexEnvi(GLenum, GLenum pname, GLint param) {
    if (pname == 0x2200) state().units[state().activeUnit].envMode = static_cast<unsigned>(param);
}
void gles_glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
    gles_glTexEnvi(target, pname, static_cast<GLint>(param));
}

void gles_glShadeModel(GLenum) {}
void gles_glHint(GLenum, GLenum) {}
void gles_glLineWidth(GLfloat width) { glLineWidth(width); }
void gles_glPointSize(GLfloat) {}
void gles_glBlendFunc(GLenum s, GLenum d) { glBlendFunc(s, d); }
void gles_glDepthMask(GLboolean flag) { glDepthMask(flag); }
void gles_glDepthFunc(GLenum func) { glDepthFunc(func); }
void gles_glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) { glColorMask(r, g, b, a); }
void gles_glCullFace(GLenum mode) { glCullFace(mode); }
void gles_glFrontFace(GLenum mode) { glFrontFace(mode); }
void gles_glClear(GLbitfield mask) { glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT)); }
void gles_glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { glClearColor(r, g, b, a); }
void gles_glClearDepth(GLdouble depth) { glClearDepthf(static_cast<GLfloat>(depth)); }
void gles_glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { glViewport(x, y, w, h); }
void gles_glScissor(GLint x, GLint y, GLsizei w, GLsizei h) { glScissor(x, y, w, h); }
void gles_glFinish() { glFinish(); }
void gles_glFlush() { glFlush(); }
GLenum gles_glGetError() { return glGetError(); }
const GLubyte* gles_glGetString(GLenum name) { return glGetString(name); }

void gles_glGetFloatv(GLenum pname, GLfloat* params) {
    LayerState& s = state();
    if (pname == 0x0BA6) std::copy(s.modelview.back().begin(), s.modelview.back().end(), params);
    else if (pname == 0x0BA7) std::copy(s.projection.back().begin(), s.projection.back().end(), params);
    else if (pname == 0x0BA8) std::copy(s.units[s.activeUnit].stack.back().begin(), s.units[s.activeUnit].stack.back().end(), params);
    else glGetFloatv(pname, params);
}
void gles_glGetDoublev(GLenum pname, GLdouble* params) {
    GLfloat values[16] = {};
    gles_glGetFloatv(pname, values);
    int count = (pname == 0x0BA6 || pname == 0x0BA7 || pname == 0x0BA8) ? 16 : 1;
    for (int i = 0; i < count; ++i) params[i] = values[i];
}
void gles_glGetIntegerv(GLenum pname, GLint* params) {
    if (pname == 0x0BA0) *params = static_cast<GLint>(state().matrixMode);
    else glGetIntegerv(pname, params);
}
void gles_glPixelStorei(GLenum pname, GLint param) {
    if (pname == GL_PACK_ALIGNMENT) state().packAlignment = param;
    if (pname == GL_UNPACK_ALIGNMENT) state().unpackAlignment = param;
    glPixelStorei(pname, param);
}
void gles_glReadBuffer(GLenum) {}  // the layer reads its own framebuffer
void gles_glDrawBuffer(GLenum) {}
