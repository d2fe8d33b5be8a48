#include "archive/ByteSource.h"

#include <cstring>
#include <filesystem>

FileSource::~FileSource() {
    if (file_) std::fclose(file_);
}

// Only a regular file: opening a FIFO for reading would wait for a writer for ever, and
// a folder or a device is no archive.
bool FileSource::open(const char* path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    file_ = std::fopen(path, "rb");
    if (!file_) return false;
    if (std::fseek(file_, 0, SEEK_END) != 0) return false;
    long end = std::ftell(file_);
    if (end < 0) return false;
    size_ = static_cast<std::uint64_t>(end);
    position_ = size_;
    return true;
}

std::size_t FileSource::readAt(std::uint64_t offset, void* destination, std::size_t n) {
    if (!file_ || offset >= size_ || n == 0) return 0;
    if (offset != position_) {
        if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return 0;
        position_ = offset;
    }
    std::size_t got = std::fread(destination, 1, n, file_);
    position_ += got;
    return got;
}

std::size_t MemorySource::readAt(std::uint64_t offset, void* destination, std::size_t n) {
    if (offset >= size_) return 0;
    std::size_t left = size_ - static_cast<std::size_t>(offset);
    if (n > left) n = left;
    std::memcpy(destination, bytes_ + offset, n);
    return n;
}
