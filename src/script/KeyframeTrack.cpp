#include "script/KeyframeTrack.h"

#include "archive/ArchiveMember.h"
#include "script/Maths.h"
#include "script/Scan.h"

// Applies one body line of a keyframe block; every matching keyword applies.
static void readKeyLine(const char* line, Keyframe& key) {
    if (keywordTest(line, "position"))
        scanLine(line, "position V(%f %f %f)", &key.position.x, &key.position.y, &key.position.z);
    if (keywordTest(line, "gradient"))
        scanLine(line, "gradient V(%f %f %f)", &key.gradient.x, &key.gradient.y, &key.gradient.z);
    if (keywordTest(line, "quaternion"))
        scanLine(line, "quaternion Q(%f %f %f %f)", &key.rotation.x, &key.rotation.y,
                 &key.rotation.z, &key.rotation.w);
    if (keywordTest(line, "time")) scanLine(line, "time %f", &key.time);
    if (keywordTest(line, "freeze")) key.freeze = true;
}

void readTrack(ArchiveMember& member, KeyframeTrack& track) {
    char line[ArchiveMember::kLineCapacity] = {};
    for (;;) {
        member.readLine(line);
        if (keywordTest(line, "ENDKEYS")) return;
        // A member that ends early yields empty lines forever: stop instead of waiting.
        if (member.atEnd() && line[0] == '\0') return;
        if (!keywordTest(line, "keyframe")) continue;
        Keyframe key;
        do {
            member.readLine(line);
            readKeyLine(line, key);
        } while (!keywordTest(line, "end") && !(member.atEnd() && line[0] == '\0'));
        track.keys.push_back(key);
    }
}

void prepareTrack(KeyframeTrack& track) {
    std::vector<Keyframe>& k = track.keys;
    if (k.size() < 2) {
        for (Keyframe& key : k) key.gradient = Vec3{0, 0, 0};
        return;
    }
    const float third = 1.0f / 3.0f;
    std::size_t n = k.size() - 1;
    k[0].outControl = slerp(k[0].rotation, k[1].rotation, third);
    k[0].gradient = k[1].position - k[0].position;
    for (std::size_t i = 1; i < n; ++i) {
        Vec3 d1 = k[i].position - k[i - 1].position;
        Vec3 d2 = k[i + 1].position - k[i].position;
        k[i].gradient = d1 + 0.5f * (d2 - d1);
        Quaternion a = slerp(k[i].rotation, k[i - 1].rotation, -third);
        Quaternion b = slerp(k[i].rotation, k[i + 1].rotation, third);
        Quaternion m = slerp(a, b, 0.5f);
        k[i].inControl = slerp(k[i].rotation, m, -1.0f);
        k[i].outControl = slerp(k[i].rotation, m, 1.0f);
    }
    k[n].inControl = slerp(k[n].rotation, k[n - 1].rotation, third);
    k[n].gradient = k[n].position - k[n - 1].position;
}

TrackSegment locateSegment(const KeyframeTrack& track, float t) {
    const std::vector<Keyframe>& k = track.keys;
    TrackSegment segment;
    if (k.empty()) return segment;
    if (k.size() == 1) {
        segment.k0 = segment.k1 = &k[0];
        return segment;
    }
    for (std::size_t i = 0; i + 1 < k.size(); ++i) {
        if (k[i].time <= t && t < k[i + 1].time) {
            segment.k0 = &k[i];
            segment.k1 = &k[i + 1];
            return segment;
        }
    }
    segment.k0 = &k[0];
    segment.k1 = &k[1];
    segment.wrapped = true;
    return segment;
}

TrackPoint evaluateSegment(const Keyframe& k0, const Keyframe& k1, float t) {
    float span = k1.time - k0.time;
    float u = span != 0 ? (t - k0.time) / span : 0.0f;
    TrackPoint point;
    point.position = hermite(k0.position, k1.position, k0.gradient, k1.gradient, u);
    point.orientation = bezierSlerp(k0.rotation, k0.outControl, k1.inControl, k1.rotation, u);
    return point;
}
