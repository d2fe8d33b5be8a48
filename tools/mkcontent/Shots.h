// The authoring helper for camera and ship tracks. Scene sources are scene files with two
// extra blocks that expand into keyframe blocks, so no quaternion is ever typed by hand:
//
//   camera                               the camera track ("KEYFRAMES" ... "ENDKEYS")
//     key T  X Y Z  look X Y Z  [roll D] [up X Y Z] [freeze]
//     orbit T0 T1 STEPS  CX CY CZ  RADIUS HEIGHT  A0 A1  look X Y Z  [roll D]
//   done
//   fly NAME                             a track for an object ("set NAME" ... "ENDKEYS")
//     key T  X Y Z  [bank D] [face X Y Z]
//   done
//
// "look" aims the camera at a point; "orbit" places STEPS + 1 keys on a circle arc of the
// given radius around the centre (angles in degrees, from +x towards -z, at the given height
// above the centre). A flying object faces along its path unless "face" names a point; "bank"
// rolls it about its forward axis. Every other line passes through unchanged.
#pragma once
#include "mkcontent/Vector.h"
#include <string>

struct Quat {
    double x = 0, y = 0, z = 0, w = 1;
};

// The orientation whose frame looks along dir with up as near to the given up as possible:
// the image of the x axis is dir and the image of the z axis is up, the frame in which the
// player's camera and meshes take a track's rotations.
Quat lookRotation(V3 dir, V3 up);
// The image of the x axis (forward) and of the z axis (up) under q.
V3 forwardOf(Quat q);
V3 upOf(Quat q);

// Expands a scene source. On a malformed line, returns false with error naming the line.
bool expandScene(const std::string& source, std::string& out, std::string& error);
