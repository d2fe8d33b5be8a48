#include "app/ExitCode.h"

#include "app/RunOptions.h"

bool runsForMachine(const std::vector<std::string>& arguments) {
    std::vector<std::string> rest = arguments;
    RunOptions options;
    std::string error;
    if (!extractLongOptions(rest, options, error)) return true;
    return options.unattended() || options.checkData || options.simulateSeconds > 0;
}

int windowsExitCode(const std::vector<std::string>& arguments, int runCode) {
    return runsForMachine(arguments) ? runCode : 0;
}
