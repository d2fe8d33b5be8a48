// Where the program looks for data.ssd. Nothing is baked in at build time, so an installed
// tree works wherever it was put (staged, /usr, /opt/x) and the build tree works too
// (it keeps a share/voidrift/data.ssd beside its program's folder tree).
#pragma once

#include <string>
#include <vector>

// The folders to try, in order. A folder the user named (--data, else the "Path" setting
// with the blanks around it removed) is the only one: a wrong one is reported, not
// silently replaced. Otherwise share/voidrift one and two levels above the program's own
// folder (PREFIX/bin, PREFIX/libexec/xscreensaver), then the program's folder itself.
std::vector<std::string> dataFolderCandidates(const std::string& optionPath, const std::string& settingsPath,
                                              const std::string& programFolder);
// The first candidate holding data.ssd; else the first one (whose failure is then
// reported by name); empty when there is none.
std::string findDataFolder(const std::vector<std::string>& candidates);
// Text without the spaces and tabs around it.
std::string trimBlanks(const std::string& text);
