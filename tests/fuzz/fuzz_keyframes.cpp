// Keyframe blocks as a track is read, prepared and played: every time asked for lands
// in a segment that can be evaluated.
#include "FuzzArchive.h"
#include "script/KeyframeTrack.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_archive::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ArchiveMember member;
    fuzz_archive::openAsMember("keys.txt", data, size, member);
    KeyframeTrack track;
    readTrack(member, track);
    prepareTrack(track);
    if (track.empty()) return 0;
    std::vector<float> times = {-1, 0, 0.5f, 1e9f};
    for (const Keyframe& key : track.keys) times.insert(times.end(), {key.time, key.time + 0.25f});
    volatile float sink = 0;
    for (float t : times) {
        TrackSegment segment = locateSegment(track, t);
        if (!segment.k0 || !segment.k1) __builtin_trap();
        TrackPoint point = evaluateSegment(*segment.k0, *segment.k1, t);
        sink = sink + point.position.x + point.orientation.w;
    }
    return 0;
}
