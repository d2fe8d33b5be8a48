#include "app/Entry.h"
#include "app/IdleCommand.h"

int main(int argc, char** argv) {
    // The idle launcher replaces this process before any video or data is touched.
    if (wantsIdleLauncher(argc, argv)) return runIdleCommand(argc, argv);
    return voidriftMain(argc, argv);
}
