#include "archive/ArchiveCheck.h"

#include "archive/ArchiveDirectory.h"
#include "archive/ArchiveResult.h"

#include <memory>
#include <new>

using namespace archive_result;

int checkArchive(const char* archivePath) {
    FileSource file;
    if (!archivePath || !file.open(archivePath)) return kNotFound;
    StreamDecoder decoder(file);
    std::unique_ptr<ArchiveDirectory> directory(new (std::nothrow) ArchiveDirectory(file, decoder));
    if (!directory) return kOutOfMemory;
    int result = directory->open();
    DirectoryEntry entry;
    while (result == 0) {
        result = directory->next(entry);
        if (result <= 0) return result;
        // A file cut short keeps its directory only when that comes first: the streams tell.
        std::uint64_t firstBlock = directory->archiveStart() + entry.streamOffset + 6;
        result = firstBlock + StreamDecoder::kMinBlockBytes > file.size() ? kUnexpectedEnd : 0;
    }
    return result;
}
