// The content check: every script the show can reach, every member they name, every
// name they look up. For content authors, before they ship an archive.
#pragma once

#include <cstdio>

// Checks data.ssd in the working directory and prints one line per problem to `out`.
// Returns the number of problems (0: clean, nothing printed).
int checkShowData(std::FILE* out);

// The --check-data run: exit status 0 when clean, 1 otherwise.
int runCheckData(std::FILE* out);
