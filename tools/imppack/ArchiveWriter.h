// Writes IMP archives ("data.ssd") from named members: the packer behind the
// imppack command, the content build and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class Method { Stored, Lz, Bwt, Best };

// Call-address filter: 0xE8 operands made relative to their place (32- or 16-bit).
enum class Filter { None, E8, E8W };

struct PackOptions {
    Method method = Method::Best;  // Best tries each method per stream and keeps the smallest
    bool solid = false;            // all members in one data stream (smaller, slower to open)
    std::uint32_t blockSize = 0;   // decoded bytes per block; 0 picks the default
    Filter filter = Filter::None;  // applied to the members where it makes them smaller
    std::string comment;           // archive comment, at most 4175 bytes
    bool storedDirectory = false;  // directory blocks stored instead of compressed
};

struct PackInput {
    std::string memberName;  // folders separated by backslashes, at most 259 bytes
    std::vector<std::uint8_t> bytes;
    bool folderEntry = false;  // an entry that is not a file (never extracted)
};

constexpr std::uint32_t kDefaultBlockSize = 1000000;
constexpr std::uint32_t kMaxBlockSize = 1048569;  // a stored block of it still fits its 20-bit size
constexpr std::size_t kMaxMemberName = 259;
constexpr std::size_t kMaxComment = 4175;

// Why the inputs cannot be packed ("" when they can): bad names, an oversized
// comment or member, a block size out of range.
std::string checkPackInputs(const std::vector<PackInput>& inputs, const PackOptions& options);

// The whole archive in memory, members in the given order; empty when checkPackInputs fails.
std::vector<std::uint8_t> packArchive(const std::vector<PackInput>& inputs, const PackOptions& options);

// packArchive written to a file; false (with a reason in *error when given) on failure.
bool writeArchive(const std::string& path, const std::vector<PackInput>& inputs, const PackOptions& options,
                  std::string* error = nullptr);
