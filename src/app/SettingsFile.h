// The settings file on disk, as a dotfile setup or a careful user keeps it: only a regular
// file is read (opened without blocking, so a FIFO cannot hold a run), a symbolic link is
// written through to its target, and the file keeps its mode across a save.
#pragma once

#include <string>

enum class SettingsFileRead {
    read,     // `contents` holds the file
    missing,  // nothing there yet: a first run
    refused,  // there, but it cannot be read or is no regular file: `problem` says which
};

SettingsFileRead readSettingsFile(const std::string& path, std::string& contents, std::string& problem);

// Replaces the file (the target of a link) through a temporary file beside it and a rename.
// A new file gets the usual mode under the umask; an existing one keeps its mode. Anything
// there that is no regular file is left alone. False with `problem` when nothing was written.
bool writeSettingsFile(const std::string& path, const std::string& contents, std::string& problem);
