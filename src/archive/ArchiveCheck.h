// Whether an archive file can serve members at all: its header and its whole directory,
// apart from any one member. Lets a run say once what is wrong with the archive itself
// instead of reporting every member as missing.
#pragma once

// 0 when the header and every directory entry read and each entry's data stream starts
// inside the file; else the result code of the first fault (-1: the file cannot be
// opened, or is no regular file).
int checkArchive(const char* archivePath);
