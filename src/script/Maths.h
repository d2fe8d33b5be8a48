// Curves and rotations over Vec3 and Quaternion: keyframe paths, camera axes, easing.
#pragma once

#include "script/Quaternion.h"
#include "script/Vec3.h"

// Cubic Hermite curve from p0 (u = 0) to p1 (u = 1) with tangents t0 and t1, unscaled.
Vec3 hermite(Vec3 p0, Vec3 p1, Vec3 t0, Vec3 t1, float u);
// Spherical linear interpolation along the shorter arc; any t, so it also extrapolates.
// The sums run in double precision; the result is not renormalised.
Quaternion slerp(Quaternion q0, Quaternion q1, float t);
// Spherical Bezier curve: de Casteljau's construction with slerp.
Quaternion bezierSlerp(Quaternion q0, Quaternion c0, Quaternion c1, Quaternion q1, float u);
// Rotation matrix, column-major for OpenGL: (m[0], m[4], m[8]) is the image of the x axis,
// (m[1], m[5], m[9]) of the y axis, (m[2], m[6], m[10]) of the z axis.
void toMatrix(Quaternion q, float m[16]);
// Trapezoid speed profile: accelerate over the first share a, decelerate over the last
// share b; maps 0..1 onto 0..1. Shares summing over 1 are scaled down to fill the range.
float ease(float t, float a, float b);
