// Three float components: positions, directions and colours (red, green, blue).
#pragma once

#include <cmath>

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

inline Vec3 make(float x, float y, float z) { return Vec3{x, y, z}; }
inline Vec3 add(Vec3 a, Vec3 b) { return Vec3{a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 sub(Vec3 a, Vec3 b) { return Vec3{a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 scale(Vec3 a, float s) { return Vec3{s * a.x, s * a.y, s * a.z}; }
inline Vec3 scale(float s, Vec3 a) { return scale(a, s); }
inline Vec3 negate(Vec3 a) { return Vec3{-a.x, -a.y, -a.z}; }
// A true division (not a multiplication by 1/s), so results round as the data expects.
inline Vec3 divide(Vec3 a, float s) { return Vec3{a.x / s, a.y / s, a.z / s}; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float length(Vec3 a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
// The zero vector (or one too short to divide by) stays the zero vector instead of
// turning into NaNs that would poison the view matrix.
inline Vec3 normalize(Vec3 a) {
    float l = length(a);
    if (!(l > 0) || !std::isfinite(l)) return Vec3{0, 0, 0};
    return divide(a, l);
}

inline Vec3 operator+(Vec3 a, Vec3 b) { return add(a, b); }
inline Vec3 operator-(Vec3 a, Vec3 b) { return sub(a, b); }
inline Vec3 operator-(Vec3 a) { return negate(a); }
inline Vec3 operator*(Vec3 a, float s) { return scale(a, s); }
inline Vec3 operator*(float s, Vec3 a) { return scale(a, s); }
inline Vec3 operator/(Vec3 a, float s) { return divide(a, s); }
