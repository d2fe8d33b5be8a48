#include <string>
#include <vector>

#include "idle/IdleLauncher.h"

// voidrift-idle: started by `voidrift --idle` (which names itself with --program), so the
// show's own start-up never loads the protocol and bus libraries.
int main(int argc, char** argv) { return runIdleLauncher(std::vector<std::string>(argv + 1, argv + argc)); }
