// Any bytes as an archive image: lookup and decoding must end with a result code,
// inside the buffers, in bounded time.
#include "ExtractChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    extractAndTouch(data, size, {"m", "meshes\\env.dat"});
    return 0;
}
