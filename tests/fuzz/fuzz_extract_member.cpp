// Any bytes as an archive image: lookup and decoding must end with a result code,
// inside the buffers, in bounded time.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "archive/ExtractMember.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const char* name : {"m", "meshes\\env.dat"}) {
        std::uint8_t* member = nullptr;
        std::uint32_t memberSize = 0;
        int result = extractMemberFromMemory(data, size, name, member, memberSize);
        if (result > 0) __builtin_trap();
        if ((member == nullptr) != (memberSize == 0)) __builtin_trap();
        // Every byte handed over must be readable.
        volatile std::uint8_t sink = 0;
        for (std::uint32_t i = 0; i < memberSize; i += 4096) sink = sink + member[i];
        if (memberSize) sink = sink + member[memberSize - 1];
        delete[] member;
    }
    return 0;
}
