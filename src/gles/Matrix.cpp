#include "gles/Matrix.h"

#include <cmath>

namespace gles {

Mat4 identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 r{};
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = sum;
        }
    }
    return r;
}

Mat4 translation(float x, float y, float z) {
    Mat4 m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Mat4 rotation(float degrees, float x, float y, float z) {
    float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return identity();
    x /= length;
    y /= length;
    z /= length;
    float a = degrees * 3.14159265358979323846f / 180.0f;
    float c = std::cos(a), s = std::sin(a), t = 1 - c;
    return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0,
            t * x * y - s * z, t * y * y + c,     t * y * z + s * x, 0,
            t * x * z + s * y, t * y * z - s * x, t * z * z + c,     0,
            0,                 0,                 0,                 1};
}

Mat4 scaling(float x, float y, float z) {
    Mat4 m = identity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Mat4 frustum(double l, double r, double b, double t, double n, double f) {
    Mat4 m{};
    m[0] = static_cast<float>(2 * n / (r - l));
    m[5] = static_cast<float>(2 * n / (t - b));
    m[8] = static_cast<float>((r + l) / (r - l));
    m[9] = static_cast<float>((t + b) / (t - b));
    m[10] = static_cast<float>(-(f + n) / (f - n));
    m[11] = -1;
    m[14] = static_cast<float>(-2 * f * n / (f - n));
    return m;
}

Mat4 ortho(double l, double r, double b, double t, double n, double f) {
    Mat4 m = identity();
    m[0] = static_cast<float>(2 / (r - l));
    m[5] = static_cast<float>(2 / (t - b));
    m[10] = static_cast<float>(-2 / (f - n));
    m[12] = static_cast<float>(-(r + l) / (r - l));
    m[13] = static_cast<float>(-(t + b) / (t - b));
    m[14] = static_cast<float>(-(f + n) / (f - n));
    return m;
}

Mat4 lookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux, double uy, double uz) {
    double f[3] = {cx - ex, cy - ey, cz - ez};
    double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl > 0) for (double& v : f) v /= fl;
    // side = forward x up, then up' = side x forward, as GLU builds them.
    double s[3] = {f[1] * uz - f[2] * uy, f[2] * ux - f[0] * uz, f[0] * uy - f[1] * ux};
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl > 0) for (double& v : s) v /= sl;
    double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    Mat4 m = identity();
    for (int i = 0; i < 3; ++i) {
        m[i * 4 + 0] = static_cast<float>(s[i]);
        m[i * 4 + 1] = static_cast<float>(u[i]);
        m[i * 4 + 2] = static_cast<float>(-f[i]);
    }
    return multiply(m, translation(static_cast<float>(-ex), static_cast<float>(-ey), static_cast<float>(-ez)));
}

Mat3 normalMatrix(const Mat4& m) {
    float a = m[0], b = m[4], c = m[8];
    float d = m[1], e = m[5], f = m[9];
    float g = m[2], h = m[6], i = m[10];
    float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (det == 0) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float k = 1 / det;
    // Inverse transpose, column-major: column j holds row j of the inverse.
    return {(e * i - f * h) * k, (c * h - b * i) * k, (b * f - c * e) * k,
            (f * g - d * i) * k, (a * i - c * g) * k, (c * d - a * f) * k,
            (d * h - e * g) * k, (b * g - a * h) * k, (a * e - b * d) * k};
}

std::array<float, 4> transform(const Mat4& m, const std::array<float, 4>& v) {
    std::array<float, 4> r{};
    for (int row = 0; row < 4; ++row) {
        r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return r;
}

}  // namespace gles
