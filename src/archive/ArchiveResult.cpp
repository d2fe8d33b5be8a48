#include "archive/ArchiveResult.h"

#include <cstdio>

namespace {
const char kVersionTemplate[] = "This archive requires UnIMP version %d.%d or higher";
}

const char* resultText(int code) {
    using namespace archive_result;
    switch (code) {
    case kOk: return "";
    case kNotFound: return kVersionTemplate;
    case kNotImp: return "Not an IMP archive.\n";
    case kDamaged: return "Archive is damaged.\n";
    case kDirectoryDamaged: return "Archive directory is damaged.\n";
    case kUnexpectedEnd: return "Unexpected end of file.\n";
    case kEnciphered: return "Deciphering not supported.\n";
    case kMultiVolume: return "Multiple-volume IMP archives not supported.\n";
    case kOutOfMemory: return "Out of memory.\n";
    default: return "Unknown error.\n";
    }
}

void versionText(char* buffer, std::size_t capacity, int major, int minor) {
    if (capacity == 0) return;
    std::snprintf(buffer, capacity, kVersionTemplate, major, minor);
}
