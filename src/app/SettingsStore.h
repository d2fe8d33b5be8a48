// The settings record kept in a text file: "$XDG_CONFIG_HOME/voidrift/settings.ini"
// (else "~/.config/voidrift/settings.ini"; VOIDRIFT_CONFIG names another file). One
// "[Software\Voidrift 3D Screensaver]" line, then "Name=value" lines with the value names
// and rules of the Windows registry key.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "script/Settings.h"

std::string settingsPath();
// The defaults of a missing file: the Restore Defaults values, the given desktop mode,
// no "Path" (the program then finds its data by itself, see DataFolder.h).
void applyDefaultSettings(Settings& record, const platform::DisplayMode& desktop);
// Missing or malformed values keep their defaults. False when the file was not read: it
// does not exist, or (`problem` then says which) it cannot be read or is no regular file.
bool loadSettingsFrom(const std::string& path, Settings& record, const platform::DisplayMode& desktop,
                      std::string* problem = nullptr);
// Rewrites the values whose line says something else, keeps every other line ("Path",
// repeats and line ends included) byte for byte, and adds the values the file lacks. A
// file that cannot be read is never written over. False, with `problem`, when nothing
// was stored.
bool saveSettingsTo(const std::string& path, const Settings& record, std::string* problem = nullptr);

// The process-wide record from and to settingsPath(). A file that is there but cannot be
// read leaves the defaults, with a note on stderr; settingsFileProblem() then says why.
void loadSettings();
const std::string& settingsFileProblem();
void saveSettings();
