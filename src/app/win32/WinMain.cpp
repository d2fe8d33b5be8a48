// The Windows entry: the raw command line as the system reports it and the arguments as the
// C runtime split them (for the long options).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "app/Entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    EntryContext context;
    context.arguments.assign(__argv, __argv + __argc);
    context.rawLine = GetCommandLineA();
    context.archiveProblemEndsRun = true;
    context.instance = instance;
    context.showCommand = showCommand;
    voidriftMain(std::move(context));
    return 0;
}
