// One member of the data archive, decoded whole into an owned buffer and read
// sequentially as bytes, records or text lines. Every open decodes again: no cache.
#pragma once

#include <cstddef>
#include <cstdint>

class ArchiveMember {
public:
    static constexpr std::size_t kNameCapacity = 100;  // names of at most 99 characters
    static constexpr std::size_t kLineCapacity = 128;  // a script line holds at most 127 characters

    ArchiveMember() = default;
    virtual ~ArchiveMember();
    ArchiveMember(const ArchiveMember&) = delete;
    ArchiveMember& operator=(const ArchiveMember&) = delete;

    // Decodes member `name` of "data.ssd" in the current directory. Returns 0 or a
    // negative result code (see ArchiveResult.h); on failure the member may be empty.
    int open(const char* name);
    // Same, from an archive at an explicit path (tools and tests).
    int openFrom(const char* archivePath, const char* name);
    void close();

    bool atEnd() const { return size_ < position_; }
    void read(void* destination, std::uint32_t n);
    void readUnlessAtEnd(void* destination, std::uint32_t n);
    // Reads one text line into `buffer` (kLineCapacity bytes); false once the member has ended.
    bool readLine(char* buffer);

    const char* name() const { return name_; }
    const std::uint8_t* data() const { return data_; }
    std::uint32_t size() const { return size_; }
    std::uint32_t position() const { return position_; }

private:
    char name_[kNameCapacity] = {};
    std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t position_ = 0;
};
