// Start-up steps that would otherwise fall back in silence: the data folder, the archive
// in it, the stored window mode. Each says what it found in one line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Makes `folder` the working directory. When it cannot be entered, writes to `notes`
// which folder was tried and why, and the working directory stays as it was.
bool enterDataFolder(const char* folder, std::FILE* notes);

// What keeps "data.ssd" in the working directory from serving the show, as a sentence
// naming the file ("" when nothing does): not found, no regular file, not an IMP
// archive, ends early, damaged.
std::string archiveProblem();

// The archive reader's description of a result code, without its line end.
std::string resultSentence(int code);

// A stored window mode the show can open: each side 1 to 16384 pixels, as --size takes.
bool usableWindowSize(std::uint32_t width, std::uint32_t height);
