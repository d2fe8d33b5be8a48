// The screensaver switches, read from the raw command line as Windows reports it.
#pragma once

#include <string>
#include <vector>

#include "app/SaverApp.h"

// Sets app.parentWindow and returns the mode. `line` is the whole raw line, program name first.
RunMode parseCommandLine(SaverApp& app, const char* line);

// The raw line of a split argument vector: the program name quoted, then the arguments,
// each quoted when it holds a space.
std::string rawCommandLine(const std::vector<std::string>& arguments);
