// Start-up steps that would otherwise fall back in silence: the data folder, the archive
// in it, the stored window mode. Each says what it found in one line.
#pragma once

#include <cstdint>
#include <string>

// Makes `folder` the working directory: "" when it did, else a sentence naming the folder
// and the system's reason (the working directory then stays as it was).
std::string enterDataFolder(const std::string& folder);

// What keeps "data.ssd" in the working directory from serving the show, as a sentence
// naming the file ("" when nothing does): not found, no regular file, not an IMP
// archive, ends early, damaged.
std::string archiveProblem();

// The archive reader's description of a result code, without its line end.
std::string resultSentence(int code);

// A stored window mode the show can open: each side 1 to 16384 pixels, as --size takes.
bool usableWindowSize(std::uint32_t width, std::uint32_t height);
