#include "archive/ArchiveMember.h"

#include "archive/ExtractMember.h"

#include <cstring>

ArchiveMember::~ArchiveMember() { close(); }

int ArchiveMember::open(const char* name) { return openFrom("data.ssd", name); }

int ArchiveMember::openFrom(const char* archivePath, const char* name) {
    // The name field keeps at most 99 characters; the lookup gets the whole name.
    std::size_t n = name ? std::strlen(name) : 0;
    if (n >= kNameCapacity) n = kNameCapacity - 1;
    if (n) std::memcpy(name_, name, n);
    name_[n] = '\0';
    close();
    return extractMember(archivePath, name, data_, size_);
}

void ArchiveMember::close() {
    delete[] data_;
    data_ = nullptr;
    size_ = 0;
    position_ = 0;
}

void ArchiveMember::read(void* destination, std::uint32_t n) {
    if (n == 0) return;
    if (position_ < size_) {
        std::uint32_t available = size_ - position_;
        std::memcpy(destination, data_ + position_, n < available ? n : available);
    }
    // The position moves by the full count so that atEnd reports an overrun; it
    // stops at the top of its range rather than wrapping back into the data.
    position_ = n > 0xFFFFFFFFu - position_ ? 0xFFFFFFFFu : position_ + n;
}

void ArchiveMember::readUnlessAtEnd(void* destination, std::uint32_t n) {
    if (!atEnd()) read(destination, n);
}

// Leading spaces are skipped, carriage returns dropped anywhere, and characters
// beyond the 127 that fit are dropped up to the line feed.
bool ArchiveMember::readLine(char* buffer) {
    std::size_t length = 0;
    std::uint8_t byte = 0;
    read(&byte, 1);
    while (byte == ' ' && !atEnd()) {
        byte = 0;
        read(&byte, 1);
    }
    while (byte != '\n' && !atEnd()) {
        if (byte != '\r' && length < kLineCapacity - 1) buffer[length++] = static_cast<char>(byte);
        byte = 0;
        read(&byte, 1);
    }
    buffer[length] = '\0';
    return !atEnd();
}
