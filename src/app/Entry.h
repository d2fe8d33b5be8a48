// The program's entry: long options, screensaver switches, settings, working folder, mode.
#pragma once

#include <string>
#include <vector>

// What the system hands the program at its start.
struct EntryContext {
    std::vector<std::string> arguments;  // program name first
    // The raw command line as the system reports it (Windows); empty: rebuilt from arguments.
    std::string rawLine;
    // The working folder when the "Path" setting is empty (Windows: the program's own
    // folder, since the system starts screensavers in its own folder); empty: stay.
    std::string programFolder;
    // Refuse to start the show without data.ssd in the working folder, with a message that
    // says where it was looked for (Windows, where a copied .scr meets a wrong "Path").
    bool requireDataArchive = false;
    void* instance = nullptr;
    int showCommand = 0;
};

// Returns the process exit code: 0; 1 when the dialog or the preview cannot be shown; 2 for
// a bad long option.
int voidriftMain(EntryContext context);
// argv as main receives it.
int voidriftMain(int argc, char** argv);

// The folder to work in: "Path" when set, else `fallback` (empty: stay where we are).
std::string chooseDataFolder(const char* pathSetting, const std::string& fallback);
