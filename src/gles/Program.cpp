// The fixed-function program: state into uniforms, vertices into attributes, one draw.
#include "gles/Program.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "gles/GlesHeaders.h"
#include "gles/LayerState.h"
#include "gles/ShaderSource.h"

namespace gles {

namespace {

struct Uniforms {
    GLint modelview, projection, normalMatrix, texMatrix[kUnits];
    GLint colorMaterial, separateSpecular, sceneAmbient;
    GLint matAmbient, matDiffuse, matSpecular, matEmission, shininess;
    GLint lightOn, lightPosition, lightAmbient, lightDiffuse, lightSpecular;
    GLint spotDirection, spotExponent, spotCosCutoff, attenuation;
    GLint texture[kUnits];
    GLint fogColor, fogStart, fogEnd, fogDensity, alphaFunc, alphaRef;
};

// One program per combination of the switches the shaders are compiled for.
struct Variant {
    GLuint program = 0;
    Uniforms u{};
};

std::unordered_map<std::uint32_t, Variant> variants;
GLuint probeProgram = 0;
GLint probePixel = -1;
GLuint streamBuffer = 0;

GLuint compile(GLenum kind, const char* source, const std::string& defines = "") {
    GLuint shader = glCreateShader(kind);
    const char* parts[3] = {"#version 300 es\n", defines.c_str(), source};
    // The probe's sources carry their own version line.
    if (defines.empty()) glShaderSource(shader, 1, &source, nullptr);
    else glShaderSource(shader, 3, parts, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = "";
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "voidrift: GLES shader: %s\n", log);
    }
    return shader;
}

GLuint link(const char* vertex, const char* fragment, const std::string& defines = "") {
    GLuint program = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, vertex, defines);
    GLuint fs = compile(GL_FRAGMENT_SHADER, fragment, defines);
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = "";
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "voidrift: GLES program: %s\n", log);
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

void locate(GLuint p, Uniforms& u) {
    auto at = [p](const char* name) { return glGetUniformLocation(p, name); };
    u.modelview = at("uModelview");
    u.projection = at("uProjection");
    u.normalMatrix = at("uNormalMatrix");
    u.texMatrix[0] = at("uTexMatrix0");
    u.texMatrix[1] = at("uTexMatrix1");
    u.colorMaterial = at("uColorMaterial");
    u.separateSpecular = at("uSeparateSpecular");
    u.sceneAmbient = at("uSceneAmbient");
    u.matAmbient = at("uMatAmbient");
    u.matDiffuse = at("uMatDiffuse");
    u.matSpecular = at("uMatSpecular");
    u.matEmission = at("uMatEmission");
    u.shininess = at("uShininess");
    u.lightOn = at("uLightOn");
    u.lightPosition = at("uLightPosition");
    u.lightAmbient = at("uLightAmbient");
    u.lightDiffuse = at("uLightDiffuse");
    u.lightSpecular = at("uLightSpecular");
    u.spotDirection = at("uSpotDirection");
    u.spotExponent = at("uSpotExponent");
    u.spotCosCutoff = at("uSpotCosCutoff");
    u.attenuation = at("uAttenuation");
    u.texture[0] = at("uTexture0");
    u.texture[1] = at("uTexture1");
    u.fogColor = at("uFogColor");
    u.fogStart = at("uFogStart");
    u.fogEnd = at("uFogEnd");
    u.fogDensity = at("uFogDensity");
    u.alphaFunc = at("uAlphaFunc");
    u.alphaRef = at("uAlphaRef");
}

int envIndex(unsigned mode) {
    if (mode == 0x0104) return 1;                     // GL_ADD
    if (mode == 0x1E01 || mode == 0x2101) return 2;  // GL_REPLACE, GL_DECAL (opaque textures)
    return 0;                                         // GL_MODULATE
}

int fogIndex(const Fog& fog) {
    if (!fog.on) return 0;
    if (fog.mode == 0x2601) return 1;  // GL_LINEAR
    if (fog.mode == 0x0801) return 3;  // GL_EXP2
    return 2;
}

bool unitSamples(const LayerState& s, int unit) {
    const TextureUnit& t = s.units[unit];
    if (!t.enabled || t.bound == 0) return false;
    auto found = s.textures.find(t.bound);
    return found != s.textures.end() && found->second.complete();
}

// The switches of the current state, as a key and as the shaders' defines.
std::uint32_t variantKey(const LayerState& s) {
    std::uint32_t key = s.lighting ? 1u : 0u;
    for (int i = 0; i < kUnits; ++i) {
        const TextureUnit& t = s.units[i];
        if (t.genS && t.genT) key |= 2u << i;
        if (unitSamples(s, i)) key |= static_cast<std::uint32_t>(1 + envIndex(t.envMode)) << (4 + 2 * i);
    }
    key |= static_cast<std::uint32_t>(fogIndex(s.fog)) << 8;
    if (s.alphaTest && s.alphaFunc != 0x0207) key |= 1u << 10;
    return key;
}

std::string definesFor(std::uint32_t key) {
    std::string d;
    if (key & 1) d += "#define LIGHTING 1\n";
    for (int i = 0; i < kUnits; ++i) {
        std::string unit = std::to_string(i);
        if (key & (2u << i)) d += "#define TEXGEN" + unit + " 1\n";
        std::uint32_t env = (key >> (4 + 2 * i)) & 3;
        if (env) d += "#define TEX" + unit + " " + std::to_string(env - 1) + "\n";
    }
    d += "#define FOG " + std::to_string((key >> 8) & 3) + "\n";
    if (key & (1u << 10)) d += "#define ALPHA_TEST 1\n";
    return d;
}

const Variant* variantFor(std::uint32_t key) {
    auto found = variants.find(key);
    if (found != variants.end()) return found->second.program ? &found->second : nullptr;
    Variant& v = variants[key];
    v.program = link(kFixedVertexShader, kFixedFragmentShader, definesFor(key));
    if (v.program) locate(v.program, v.u);
    return v.program ? &v : nullptr;
}

void uploadLights(const LayerState& s, const Uniforms& u) {
    GLint on[kLights];
    GLfloat position[kLights * 4], ambient[kLights * 4], diffuse[kLights * 4], specular[kLights * 4];
    GLfloat direction[kLights * 3], exponent[kLights], cosCutoff[kLights], attenuation[kLights * 3];
    for (int i = 0; i < kLights; ++i) {
        const Light& l = s.lights[i];
        on[i] = l.on;
        for (int k = 0; k < 4; ++k) {
            position[i * 4 + k] = l.position[k];
            ambient[i * 4 + k] = l.ambient[k];
            diffuse[i * 4 + k] = l.diffuse[k];
            specular[i * 4 + k] = l.specular[k];
        }
        for (int k = 0; k < 3; ++k) {
            direction[i * 3 + k] = l.spotDirection[k];
            attenuation[i * 3 + k] = l.attenuation[k];
        }
        exponent[i] = l.spotExponent;
        // -2 marks no cone (a cut-off of 180 degrees).
        cosCutoff[i] = l.spotCutoff >= 180 ? -2.0f : std::cos(l.spotCutoff * 3.14159265358979f / 180);
    }
    glUniform1iv(u.lightOn, kLights, on);
    glUniform4fv(u.lightPosition, kLights, position);
    glUniform4fv(u.lightAmbient, kLights, ambient);
    glUniform4fv(u.lightDiffuse, kLights, diffuse);
    glUniform4fv(u.lightSpecular, kLights, specular);
    glUniform3fv(u.spotDirection, kLights, direction);
    glUniform1fv(u.spotExponent, kLights, exponent);
    glUniform1fv(u.spotCosCutoff, kLights, cosCutoff);
    glUniform3fv(u.attenuation, kLights, attenuation);
}

bool uploadState(const LayerState& s) {
    const Variant* v = variantFor(variantKey(s));
    if (!v) return false;
    const Uniforms& u = v->u;
    glUseProgram(v->program);
    const Mat4& mv = s.modelview.back();
    glUniformMatrix4fv(u.modelview, 1, GL_FALSE, mv.data());
    glUniformMatrix4fv(u.projection, 1, GL_FALSE, s.projection.back().data());
    glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, normalMatrix(mv).data());
    for (int i = 0; i < kUnits; ++i) {
        const TextureUnit& t = s.units[i];
        glUniformMatrix4fv(u.texMatrix[i], 1, GL_FALSE, t.stack.back().data());
        glUniform1i(u.texture[i], i);
    }
    if (s.lighting) {
        glUniform1i(u.colorMaterial, s.colorMaterial);
        glUniform1i(u.separateSpecular, s.separateSpecular);
        glUniform4fv(u.sceneAmbient, 1, s.sceneAmbient.data());
        glUniform4fv(u.matAmbient, 1, s.material.ambient.data());
        glUniform4fv(u.matDiffuse, 1, s.material.diffuse.data());
        glUniform4fv(u.matSpecular, 1, s.material.specular.data());
        glUniform4fv(u.matEmission, 1, s.material.emission.data());
        glUniform1f(u.shininess, s.material.shininess);
        uploadLights(s, u);
    }
    glUniform4fv(u.fogColor, 1, s.fog.color.data());
    glUniform1f(u.fogStart, s.fog.start);
    glUniform1f(u.fogEnd, s.fog.end);
    glUniform1f(u.fogDensity, s.fog.density);
    glUniform1i(u.alphaFunc, s.alphaTest ? static_cast<int>(s.alphaFunc - 0x0200) : 7);
    glUniform1f(u.alphaRef, s.alphaRef);
    return true;
}

void pointAttribute(GLuint index, GLint size, bool own, std::size_t offset, const float* constant) {
    if (own) {
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offset));
    } else {
        glDisableVertexAttribArray(index);
        if (size == 4) glVertexAttrib4fv(index, constant);
        if (size == 3) glVertexAttrib3fv(index, constant);
        if (size == 2) glVertexAttrib2fv(index, constant);
    }
}

}  // namespace

bool createPrograms() {
    probeProgram = link(kDepthProbeVertexShader, kDepthProbeFragmentShader);
    // The plainest variant, so a driver that cannot build the shaders says so at once.
    if (!probeProgram || !variantFor(0)) return false;
    probePixel = glGetUniformLocation(probeProgram, "uPixel");
    glGenBuffers(1, &streamBuffer);
    return true;
}

void destroyPrograms() {
    for (auto& entry : variants) glDeleteProgram(entry.second.program);
    variants.clear();
    glDeleteProgram(probeProgram);
    glDeleteBuffers(1, &streamBuffer);
    probeProgram = streamBuffer = 0;
}

unsigned depthProbeProgram() { return probeProgram; }
int depthProbePixelUniform() { return probePixel; }

void drawVertices(unsigned glesMode, const Vertex* vertices, std::uint32_t first, std::uint32_t count,
                  unsigned attributes, unsigned buffer) {
    if (count == 0) return;
    LayerState& s = state();
    if (!uploadState(s)) return;
    if (buffer == 0) {
        glBindBuffer(GL_ARRAY_BUFFER, streamBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(Vertex)), vertices + first,
                     GL_STREAM_DRAW);
        first = 0;
    } else {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
    }
    const Vertex& c = s.current;
    pointAttribute(0, 3, true, offsetof(Vertex, position), nullptr);
    pointAttribute(1, 4, attributes & kColorBit, offsetof(Vertex, color), c.color);
    pointAttribute(2, 3, attributes & kNormalBit, offsetof(Vertex, normal), c.normal);
    pointAttribute(3, 2, attributes & kTex0Bit, offsetof(Vertex, tex), c.tex[0]);
    pointAttribute(4, 2, attributes & kTex1Bit, offsetof(Vertex, tex) + 2 * sizeof(float), c.tex[1]);
    glDrawArrays(glesMode, static_cast<GLint>(first), static_cast<GLsizei>(count));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace gles
