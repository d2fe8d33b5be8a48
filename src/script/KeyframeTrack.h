// Timed paths: keys with a position, an orientation and a time. Between two keys the
// position follows a Hermite curve and the orientation a spherical Bezier curve.
#pragma once

#include <vector>

#include "script/Quaternion.h"
#include "script/Vec3.h"

class ArchiveMember;

struct Keyframe {
    float time = 0;
    bool freeze = false;  // the camera rests at this key until the next key's time
    Vec3 position{0, 0, 0};
    Vec3 gradient{0, 0, 0};             // recomputed by prepareTrack
    Quaternion rotation{0, 0, 0, 0};
    Quaternion inControl{0, 1, 0, 1};   // control point of the segment ending here
    Quaternion outControl{0, 1, 0, 1};  // control point of the segment starting here
};

// Keys in file order; appended, never reordered, emptied only as a whole.
struct KeyframeTrack {
    std::vector<Keyframe> keys;

    bool empty() const { return keys.empty(); }
    std::size_t size() const { return keys.size(); }
    void clear() { keys.clear(); }
};

struct TrackSegment {
    const Keyframe* k0 = nullptr;  // null only for an empty track
    const Keyframe* k1 = nullptr;  // equals k0 for a track of one key
    bool wrapped = false;
};

struct TrackPoint {
    Vec3 position;
    Quaternion orientation;
};

// Reads "keyframe" ... "end" blocks up to and including "ENDKEYS" (or the member's end)
// and appends one key per block.
void readTrack(ArchiveMember& member, KeyframeTrack& track);
// Derives every key's gradient and quaternion control points. A track of fewer than two
// keys gets zero gradients and keeps its default controls.
void prepareTrack(KeyframeTrack& track);
// The first pair with k0.time <= t < k1.time; otherwise the first pair, wrapped. A track
// of one key never wraps: it is a still camera, like an empty track.
TrackSegment locateSegment(const KeyframeTrack& track, float t);
// Evaluates the segment at time t (u is not clamped; a zero-length segment gives u = 0).
TrackPoint evaluateSegment(const Keyframe& k0, const Keyframe& k1, float t);
