// Result codes of the archive reader: 0 for success, negative for failure.
// Every decoding step returns one of these; none of them is shown to the user.
#pragma once

#include <cstddef>

namespace archive_result {

constexpr int kOk = 0;
constexpr int kNotFound = -1;        // cannot open, member missing, or needs a newer reader
constexpr int kNotImp = -2;          // not an IMP archive
constexpr int kDamaged = -3;         // bad check value or bad compressed data
constexpr int kDirectoryDamaged = -4;
constexpr int kUnexpectedEnd = -5;   // end of file, or an offset past it
constexpr int kEnciphered = -7;
constexpr int kMultiVolume = -8;
constexpr int kOutOfMemory = -10;

}  // namespace archive_result

// The standard description of a result code ("" for 0, "Unknown error.\n" for codes
// outside the table). For -1 this is the newer-reader template, which holds "%d.%d":
// format it with versionText, never print it as a format string of its own.
const char* resultText(int code);

// "This archive requires UnIMP version M.m or higher" into buffer (NUL-terminated, cut to fit).
void versionText(char* buffer, std::size_t capacity, int major, int minor);
