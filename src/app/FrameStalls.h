// Frame times of a benchmark: the median, and stalls. A stall shows as a frame much longer
// than the frames around it; the show's scenes differ in cost by more than that, so each
// frame is held against the median of the 61 frames centred on it, not the whole run's.
#pragma once

#include <vector>

struct FrameStalls {
    double worst = 0;        // the largest ratio of a frame to its local median
    unsigned overTwice = 0;  // frames more than twice their local median
};

// 0 when there are no frames.
double medianFrame(const std::vector<float>& seconds);
FrameStalls localStalls(const std::vector<float>& seconds);
