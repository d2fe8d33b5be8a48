// What every archive fuzz target asks of one extraction: a result code, a buffer that
// is there exactly when it has bytes, and every byte handed over readable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "archive/ExtractMember.h"

inline void extractAndTouch(const std::uint8_t* image, std::size_t size, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::uint8_t* member = nullptr;
        std::uint32_t memberSize = 0;
        int result = extractMemberFromMemory(image, size, name, member, memberSize);
        if (result > 0) __builtin_trap();
        if ((member == nullptr) != (memberSize == 0)) __builtin_trap();
        volatile std::uint8_t sink = 0;
        for (std::uint32_t i = 0; i < memberSize; i += 4096) sink = sink + member[i];
        if (memberSize) sink = sink + member[memberSize - 1];
        delete[] member;
    }
}
