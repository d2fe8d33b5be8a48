#include "gles/ShaderSource.h"

namespace gles {

// The fixed-function shaders are compiled per combination of the switches that change
// their work (LIGHTING, TEXGEN0/1, TEX0/1 with the unit's environment, FOG, ALPHA_TEST),
// defined ahead of the source: software rasterizers run every branch a uniform would pick.
//
// Per-vertex lighting as GL 1.1 defines it (positional lights with attenuation and spot
// cone, material or colour-tracked ambient and diffuse, separate specular colour), sphere
// map generation and the texture matrices, and the eye distance fog uses (|z|, as Mesa).
const char kFixedVertexShader[] = R"(
precision highp float;
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec2 aTex0;
layout(location = 4) in vec2 aTex1;
uniform mat4 uModelview;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform mat4 uTexMatrix0;
uniform mat4 uTexMatrix1;
uniform bool uColorMaterial;
uniform bool uSeparateSpecular;
uniform vec4 uSceneAmbient;
uniform vec4 uMatAmbient;
uniform vec4 uMatDiffuse;
uniform vec4 uMatSpecular;
uniform vec4 uMatEmission;
uniform float uShininess;
uniform bool uLightOn[3];
uniform vec4 uLightPosition[3];
uniform vec4 uLightAmbient[3];
uniform vec4 uLightDiffuse[3];
uniform vec4 uLightSpecular[3];
uniform vec3 uSpotDirection[3];
uniform float uSpotExponent[3];
uniform float uSpotCosCutoff[3];
uniform vec3 uAttenuation[3];
out vec4 vPrimary;
out vec3 vSecondary;
out vec2 vTex0;
out vec2 vTex1;
out float vFogDistance;

vec2 sphereMap(vec3 eye, vec3 n) {
    vec3 r = reflect(normalize(eye), n);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    return r.xy / m + 0.5;
}

void main() {
    vec4 eye = uModelview * vec4(aPosition, 1.0);
    vec3 n = normalize(uNormalMatrix * aNormal);
    gl_Position = uProjection * eye;
    vFogDistance = abs(eye.z);
#ifdef TEXGEN0
    vTex0 = (uTexMatrix0 * vec4(sphereMap(eye.xyz, n), 0.0, 1.0)).xy;
#else
    vTex0 = (uTexMatrix0 * vec4(aTex0, 0.0, 1.0)).xy;
#endif
#ifdef TEXGEN1
    vTex1 = (uTexMatrix1 * vec4(sphereMap(eye.xyz, n), 0.0, 1.0)).xy;
#else
    vTex1 = (uTexMatrix1 * vec4(aTex1, 0.0, 1.0)).xy;
#endif
#ifndef LIGHTING
    vPrimary = aColor;
    vSecondary = vec3(0.0);
#else
    vec4 ambientM = uColorMaterial ? aColor : uMatAmbient;
    vec4 diffuseM = uColorMaterial ? aColor : uMatDiffuse;
    vec3 c = uMatEmission.rgb + uSceneAmbient.rgb * ambientM.rgb;
    vec3 s = vec3(0.0);
    for (int i = 0; i < 3; ++i) {
        if (!uLightOn[i]) continue;
        vec4 p = uLightPosition[i];
        vec3 l;
        float factor = 1.0;
        if (p.w != 0.0) {
            vec3 d = p.xyz / p.w - eye.xyz / eye.w;
            float dist = length(d);
            l = d / dist;
            factor = 1.0 / (uAttenuation[i].x + uAttenuation[i].y * dist + uAttenuation[i].z * dist * dist);
        } else {
            l = normalize(p.xyz);
        }
        if (uSpotCosCutoff[i] > -1.0) {
            float sd = dot(-l, normalize(uSpotDirection[i]));
            factor *= sd < uSpotCosCutoff[i] ? 0.0 : pow(max(sd, 0.0), uSpotExponent[i]);
        }
        float nl = max(dot(n, l), 0.0);
        c += factor * (uLightAmbient[i].rgb * ambientM.rgb + nl * uLightDiffuse[i].rgb * diffuseM.rgb);
        if (nl > 0.0) {
            float nh = max(dot(n, normalize(l + vec3(0.0, 0.0, 1.0))), 0.0);
            float f = uShininess == 0.0 ? 1.0 : pow(nh, uShininess);
            s += factor * f * uLightSpecular[i].rgb * uMatSpecular.rgb;
        }
    }
    if (!uSeparateSpecular) {
        c += s;
        s = vec3(0.0);
    }
    vPrimary = clamp(vec4(c, diffuseM.a), 0.0, 1.0);
    vSecondary = clamp(s, 0.0, 1.0);
#endif
}
)";

// Two texture units with MODULATE (0), ADD (1) or REPLACE (2), the colour sum, fog and the
// alpha test.
const char kFixedFragmentShader[] = R"(
precision highp float;
uniform sampler2D uTexture0;
uniform sampler2D uTexture1;
uniform vec4 uFogColor;
uniform float uFogStart;
uniform float uFogEnd;
uniform float uFogDensity;
uniform int uAlphaFunc;
uniform float uAlphaRef;
in vec4 vPrimary;
in vec3 vSecondary;
in vec2 vTex0;
in vec2 vTex1;
in float vFogDistance;
out vec4 fragColor;

vec4 combine(vec4 c, vec4 t, int env) {
    if (env == 1) return clamp(vec4(c.rgb + t.rgb, c.a * t.a), 0.0, 1.0);
    if (env == 2) return t;
    return c * t;
}

bool alphaPasses(float a) {
    if (uAlphaFunc == 0) return false;
    if (uAlphaFunc == 1) return a < uAlphaRef;
    if (uAlphaFunc == 2) return a == uAlphaRef;
    if (uAlphaFunc == 3) return a <= uAlphaRef;
    if (uAlphaFunc == 4) return a > uAlphaRef;
    if (uAlphaFunc == 5) return a != uAlphaRef;
    if (uAlphaFunc == 6) return a >= uAlphaRef;
    return true;
}

void main() {
    vec4 c = vPrimary;
#ifdef TEX0
    c = combine(c, texture(uTexture0, vTex0), TEX0);
#endif
#ifdef TEX1
    c = combine(c, texture(uTexture1, vTex1), TEX1);
#endif
#ifdef LIGHTING
    c.rgb = min(c.rgb + vSecondary, 1.0);
#endif
#if FOG == 1
    c.rgb = mix(uFogColor.rgb, c.rgb, clamp((uFogEnd - vFogDistance) / (uFogEnd - uFogStart), 0.0, 1.0));
#elif FOG == 2
    c.rgb = mix(uFogColor.rgb, c.rgb, clamp(exp(-uFogDensity * vFogDistance), 0.0, 1.0));
#elif FOG == 3
    float e = uFogDensity * vFogDistance;
    c.rgb = mix(uFogColor.rgb, c.rgb, clamp(exp(-e * e), 0.0, 1.0));
#endif
#ifdef ALPHA_TEST
    if (!alphaPasses(c.a)) discard;
#endif
    fragColor = c;
}
)";

// One point over a 1x1 target: the depth texel at uPixel as a 24-bit integer in red,
// green and blue.
const char kDepthProbeVertexShader[] = R"(#version 300 es
void main() {
    gl_Position = vec4(0.0, 0.0, 0.0, 1.0);
    gl_PointSize = 1.0;
}
)";

const char kDepthProbeFragmentShader[] = R"(#version 300 es
precision highp float;
precision highp int;
uniform highp sampler2D uDepth;
uniform ivec2 uPixel;
out vec4 fragColor;
void main() {
    float d = texelFetch(uDepth, uPixel, 0).r;
    // 16777215.5 is no float: the top value is held back from rounding up to 2^24.
    uint v = min(uint(clamp(d, 0.0, 1.0) * 16777215.0 + 0.5), 16777215u);
    fragColor = vec4(float(v >> 16u), float((v >> 8u) & 255u), float(v & 255u), 255.0) / 255.0;
}
)";

}  // namespace gles
