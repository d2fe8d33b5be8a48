// Files that come with the Linux program and are used by only some of its modes (the
// dialog view's module, the idle launcher): beside the program in the build tree, in
// lib/voidrift once installed, seen from bin/ and from libexec/xscreensaver/.
#pragma once

#include <string>
#include <vector>

// The folder of the running program's file (links resolved); "." when unknown.
std::string executableFolder();
std::vector<std::string> companionCandidates(const std::string& executableFolder, const char* name);
// The first candidate that exists; empty when none does.
std::string findCompanion(const char* name);
