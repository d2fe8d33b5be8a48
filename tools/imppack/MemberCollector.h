// Gathers the files named on the command line as archive members: a folder gives
// every file below it, named relative to it with backslashes; a file gives its own
// name; a link is stored under its own name with its target's bytes. Members come out
// sorted by name so that the same input packs the same way. Fails, with the reason in
// `error`, when nothing is found or two files would get names that differ only in
// letter case (the show finds members case-blind).
#pragma once

#include <string>
#include <vector>

#include "imppack/ArchiveWriter.h"

bool collectMembers(const std::vector<std::string>& paths, std::vector<PackInput>& members, std::string& error);
