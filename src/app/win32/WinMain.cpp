// The Windows entry: the raw command line as the system reports it and the arguments as the
// C runtime split them (for the long options).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/Entry.h"
#include "app/ExitCode.h"
#include "platform/win32/QuietRuns.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    EntryContext context;
    context.arguments.assign(__argv, __argv + __argc);
    std::vector<std::string> arguments = context.arguments;
    if (runsForMachine(arguments)) platform::showNoMessageBoxes();
    context.rawLine = GetCommandLineA();
    context.archiveProblemEndsRun = true;
    context.instance = instance;
    context.showCommand = showCommand;
    return windowsExitCode(arguments, voidriftMain(std::move(context)));
}
