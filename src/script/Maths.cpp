#include "script/Maths.h"

#include <cmath>

Vec3 hermite(Vec3 p0, Vec3 p1, Vec3 t0, Vec3 t1, float u) {
    float u2 = u * u;
    float u3 = u2 * u;
    float h00 = 2 * u3 - 3 * u2 + 1;
    float h10 = u3 - 2 * u2 + u;
    float h01 = -2 * u3 + 3 * u2;
    float h11 = u3 - u2;
    return Vec3{h00 * p0.x + h10 * t0.x + h01 * p1.x + h11 * t1.x,
                h00 * p0.y + h10 * t0.y + h01 * p1.y + h11 * t1.y,
                h00 * p0.z + h10 * t0.z + h01 * p1.z + h11 * t1.z};
}

Quaternion slerp(Quaternion q0, Quaternion q1, float t) {
    double d = double(q0.x) * q1.x + double(q0.y) * q1.y + double(q0.z) * q1.z +
               double(q0.w) * q1.w;
    if (d < 0) {
        d = -d;
        q1 = negate(q1);
    }
    double k0;
    double k1;
    if (1.0 - d > 1e-8) {
        // d may exceed 1 for quaternions that are not unit length; acos would give NaN.
        double omega = std::acos(d > 1.0 ? 1.0 : d);
        double s = std::sin(omega);
        k0 = std::sin((1.0 - t) * omega) / s;
        k1 = std::sin(t * omega) / s;
    } else {
        k0 = 1.0 - t;
        k1 = t;
    }
    return Quaternion{float(k0 * q0.x + k1 * q1.x), float(k0 * q0.y + k1 * q1.y),
                      float(k0 * q0.z + k1 * q1.z), float(k0 * q0.w + k1 * q1.w)};
}

Quaternion bezierSlerp(Quaternion q0, Quaternion c0, Quaternion c1, Quaternion q1, float u) {
    Quaternion a = slerp(q0, c0, u);
    Quaternion b = slerp(c0, c1, u);
    Quaternion c = slerp(c1, q1, u);
    Quaternion d = slerp(a, b, u);
    Quaternion e = slerp(b, c, u);
    return slerp(d, e, u);
}

void toMatrix(Quaternion q, float m[16]) {
    float x2 = q.x + q.x, y2 = q.y + q.y, z2 = q.z + q.z;
    float xx = q.x * x2, xy = q.x * y2, xz = q.x * z2;
    float yy = q.y * y2, yz = q.y * z2, zz = q.z * z2;
    float wx = q.w * x2, wy = q.w * y2, wz = q.w * z2;
    m[0] = 1 - (yy + zz);
    m[1] = xy - wz;
    m[2] = xz + wy;
    m[3] = 0;
    m[4] = xy + wz;
    m[5] = 1 - (xx + zz);
    m[6] = yz - wx;
    m[7] = 0;
    m[8] = xz - wy;
    m[9] = yz + wx;
    m[10] = 1 - (xx + yy);
    m[11] = 0;
    m[12] = 0;
    m[13] = 0;
    m[14] = 0;
    m[15] = 1;
}

float ease(float t, float a, float b) {
    float s = a + b;
    if (s == 0) return t;
    if (s > 1) {
        a = a / s;
        b = b / s;
    }
    float v = 1 / (2 - a - b);
    if (t < a) return a > 0 ? (v / a) * t * t : 0;
    if (t < 1 - b) return v * (2 * t - a);
    // With no deceleration share the end is reached at t = 1 exactly.
    if (b <= 0) return 1;
    return 1 - (v / b) * (1 - t) * (1 - t);
}
