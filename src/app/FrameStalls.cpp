#include "app/FrameStalls.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::ptrdiff_t kReach = 30;  // frames on each side

double medianOf(std::vector<float>::const_iterator from, std::vector<float>::const_iterator to) {
    std::vector<float> times(from, to);
    if (times.empty()) return 0;
    auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

}  // namespace

double medianFrame(const std::vector<float>& seconds) { return medianOf(seconds.begin(), seconds.end()); }

FrameStalls localStalls(const std::vector<float>& seconds) {
    FrameStalls stalls;
    auto n = static_cast<std::ptrdiff_t>(seconds.size());
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        double local = medianOf(seconds.begin() + std::max<std::ptrdiff_t>(0, i - kReach),
                                seconds.begin() + std::min(n, i + kReach + 1));
        if (local <= 0) continue;
        double ratio = seconds[std::size_t(i)] / local;
        stalls.worst = std::max(stalls.worst, ratio);
        if (ratio > 2) stalls.overTwice += 1;
    }
    return stalls;
}
