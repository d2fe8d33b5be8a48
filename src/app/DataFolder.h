// Where the program looks for data.ssd. Nothing is baked in at build time, so an installed
// tree works wherever it was put (staged, /usr, /opt/x) and the build tree works too
// (it keeps a share/voidrift/data.ssd beside its program's folder tree).
#pragma once

#include <string>
#include <vector>

struct DataFolderCandidates {
    std::vector<std::string> folders;  // in the order they are tried
    bool named = false;                // the user named the one folder
};

// A folder the user named (--data, else the "Path" setting with the blanks around it
// removed) is the only one: a wrong one is reported, not silently replaced. Otherwise
// share/voidrift one and two levels above the program's own folder (PREFIX/bin,
// PREFIX/libexec/xscreensaver), then the program's folder itself.
DataFolderCandidates dataFolderCandidates(const std::string& optionPath, const std::string& settingsPath,
                                          const std::string& programFolder);

struct DataFolderSearch {
    std::string folder;   // the first candidate with a data.ssd in it; empty when none has one
    std::string problem;  // otherwise, where it was looked for: "data.ssd not found in ..."
};
DataFolderSearch findDataFolder(const DataFolderCandidates& candidates);

// Text without the spaces and tabs around it.
std::string trimBlanks(const std::string& text);
