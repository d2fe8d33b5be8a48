// Random-access input for the archive reader: a file on disk or an archive image
// already in memory (tests, fuzzing). Reads past the end give fewer bytes, never fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to n bytes from `offset` on; returns how many were available.
    virtual std::size_t readAt(std::uint64_t offset, void* destination, std::size_t n) = 0;
};

class FileSource : public ByteSource {
public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // False unless `path` is a regular file that can be read.
    bool open(const char* path);
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* destination, std::size_t n) override;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;  // where the stream stands, to skip needless seeks
};

class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* bytes, std::size_t n) : bytes_(bytes), size_(n) {}
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* destination, std::size_t n) override;

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
};
