// Delta regions of LZ blocks: stretches of a block (image rows, audio samples) that
// the LZ stage carries as differences to the byte k places before; the reader adds
// them back after the block. Markers split the block; distance 0 ends a region.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DeltaMarker {
    std::size_t position;  // in the stream; the region runs to the next marker or the block end
    unsigned distance;     // 1..7, or 0 for no delta from here on
};

// Chooses regions for data[start, start + length) where differences are clearly
// cheaper to code than the bytes. windowStart is the first byte the reader's window
// still holds: no region reaches before it.
std::vector<DeltaMarker> planDeltaRegions(const std::uint8_t* data, std::size_t start, std::size_t length,
                                          std::size_t windowStart);

// Writes the LZ-stage bytes of the block into lzStage: differences inside regions,
// the bytes themselves elsewhere. lzStage before `start` must already hold the
// LZ-stage bytes of earlier blocks, as the reader's window keeps them.
void applyDeltaRegions(std::uint8_t* lzStage, const std::uint8_t* data, std::size_t start, std::size_t length,
                       const std::vector<DeltaMarker>& markers);
