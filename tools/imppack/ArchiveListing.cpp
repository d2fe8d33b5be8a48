#include "imppack/ArchiveListing.h"

#include <map>

#include "archive/ArchiveDirectory.h"
#include "archive/StreamDecoder.h"

namespace {

struct StreamInfo {
    std::uint64_t packedSize = 0;
    std::string methods;
};

const char* methodName(unsigned method) {
    switch (method) {
        case 0: return "stored";
        case 1: case 3: return "lz";
        case 2: return "bwt";
        default: return "?";
    }
}

// Walks the block heads of the stream at `first` (the 6 bytes before its first block).
StreamInfo walkStream(ByteSource& source, std::uint64_t first) {
    StreamInfo info;
    std::uint64_t block = first + 6;
    bool seen[4] = {};
    for (;;) {
        std::uint8_t head[6] = {};
        if (source.readAt(block, head, 6) < 6) break;
        std::uint64_t bits = 0;
        for (int i = 0; i < 6; ++i) bits |= static_cast<std::uint64_t>(head[i]) << (8 * i);
        unsigned method = bits & 15;
        bool last = (bits >> 4) & 1;
        std::uint64_t compressed = (bits >> 25) & 0xFFFFF;
        if (method > 3 || compressed < 6) break;  // damaged: stop rather than loop
        seen[method == 3 ? 1 : method] = true;
        block += compressed;
        if (last || block > source.size()) break;
    }
    info.packedSize = block - first;
    const char* names[3] = {};
    int count = 0;
    for (unsigned m = 0; m < 3; ++m)
        if (seen[m]) names[count++] = methodName(m);
    info.methods = count == 0 ? std::string("?") : std::string(names[0]);
    for (int i = 1; i < count; ++i) info.methods.append("+").append(names[i]);
    return info;
}

}  // namespace

int listArchive(ByteSource& source, std::vector<ListedMember>& members) {
    StreamDecoder decoder(source);
    ArchiveDirectory directory(source, decoder);
    int result = directory.open();
    if (result != 0) return result;
    std::map<std::uint32_t, int> streamUsers;
    for (;;) {
        DirectoryEntry entry;
        result = directory.next(entry);
        if (result <= 0) break;
        ListedMember m;
        m.name.assign(entry.name, entry.nameLength);
        m.size = entry.size;
        m.crc = entry.crc;
        m.attributes = entry.attributes;
        m.streamOffset = entry.streamOffset;
        members.push_back(m);
        if ((entry.attributes & 1) == 0 && entry.size != 0) ++streamUsers[entry.streamOffset];
    }
    std::map<std::uint32_t, StreamInfo> streams;
    for (ListedMember& m : members) {
        if ((m.attributes & 1) != 0 || m.size == 0) {
            m.methods = (m.attributes & 1) != 0 ? "folder" : "-";
            continue;
        }
        auto found = streams.find(m.streamOffset);
        if (found == streams.end())
            found = streams.emplace(m.streamOffset, walkStream(source, directory.archiveStart() + m.streamOffset)).first;
        m.packedSize = found->second.packedSize;
        m.methods = found->second.methods;
        m.sharedStream = streamUsers[m.streamOffset] > 1;
    }
    return result < 0 ? result : 0;
}
