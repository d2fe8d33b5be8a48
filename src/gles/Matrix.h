// 4x4 matrices as GL keeps them (column-major, m[column * 4 + row]) and the GL 1.1 and
// GLU operations that build them. Plain arithmetic: no GL calls.
#pragma once

#include <array>

namespace gles {

using Mat4 = std::array<float, 16>;
using Mat3 = std::array<float, 9>;

Mat4 identity();
Mat4 multiply(const Mat4& a, const Mat4& b);  // a * b
Mat4 translation(float x, float y, float z);
Mat4 rotation(float degrees, float x, float y, float z);
Mat4 scaling(float x, float y, float z);
Mat4 frustum(double left, double right, double bottom, double top, double zNear, double zFar);
Mat4 ortho(double left, double right, double bottom, double top, double zNear, double zFar);
Mat4 lookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
            double upY, double upZ);
// The inverse transpose of the upper 3x3, which carries normals into eye space.
Mat3 normalMatrix(const Mat4& m);
std::array<float, 4> transform(const Mat4& m, const std::array<float, 4>& v);

}  // namespace gles
