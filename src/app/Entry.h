// The program's entry: long options, screensaver switches, settings, working folder, mode.
#pragma once

#include <string>
#include <vector>

// argv as main receives it. Returns the process exit code: 0; 1 when the run failed (no
// display for a viewer, an archive that cannot serve a run for a machine, frames that
// could not be recorded, a data check that found faults, a dialog or preview that cannot
// be shown); 2 for a bad option.
int voidriftMain(int argc, char** argv);

// What the system hands the program at its start, where it hands more than argv (Windows).
struct EntryContext {
    std::vector<std::string> arguments;  // program name first
    // The raw command line as the system reports it; empty: rebuilt from arguments.
    std::string rawLine;
    // A viewer's run with an archive that cannot serve it says so in a message box and
    // ends (Windows, where a copied .scr meets a wrong "Path"), rather than showing what it can.
    bool archiveProblemEndsRun = false;
    void* instance = nullptr;
    int showCommand = 0;
};
int voidriftMain(EntryContext context);
