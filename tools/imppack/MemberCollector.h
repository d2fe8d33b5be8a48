// Gathers the files named on the command line as archive members: a folder gives
// every file below it, named relative to it with backslashes; a file gives its own
// name. Members come out sorted by name so that the same input packs the same way.
#pragma once

#include <string>
#include <vector>

#include "imppack/ArchiveWriter.h"

bool collectMembers(const std::vector<std::string>& paths, std::vector<PackInput>& members, std::string& error);
