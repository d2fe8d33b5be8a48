// An orientation: vector part x, y, z and scalar part w. Nothing normalises it.
#pragma once

struct Quaternion {
    float x = 0;
    float y = 0;
    float z = 0;
    float w = 0;
};

inline Quaternion negate(Quaternion q) { return Quaternion{-q.x, -q.y, -q.z, -q.w}; }
