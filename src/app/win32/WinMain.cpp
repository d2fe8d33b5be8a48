// The Windows entry: the raw command line as the system reports it, the arguments as the C
// runtime split them (for the long options), and the program's own folder, where data.ssd
// is looked for when "Path" is empty.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Entry.h"

namespace {

std::string programFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    return std::filesystem::path(path).parent_path().string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    EntryContext context;
    context.arguments.assign(__argv, __argv + __argc);
    context.rawLine = GetCommandLineA();
    context.programFolder = programFolder();
    context.requireDataArchive = true;
    context.instance = instance;
    context.showCommand = showCommand;
    voidriftMain(std::move(context));
    return 0;
}
