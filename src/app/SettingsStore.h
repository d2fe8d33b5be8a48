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
// Missing or malformed values keep their defaults. False when the file cannot be read.
bool loadSettingsFrom(const std::string& path, Settings& record, const platform::DisplayMode& desktop);
// Rewrites the owned values and keeps every other line ("Path" included) as it was,
// through a temporary file and a rename. False when the file cannot be written.
bool saveSettingsTo(const std::string& path, const Settings& record);

// The process-wide record from and to settingsPath().
void loadSettings();
void saveSettings();
