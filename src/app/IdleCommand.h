// `voidrift --idle [--idle-seconds N] [--autostart on|off] [--verbose]`: hands the run to
// the idle launcher (voidrift-idle, a companion program), naming this program as the
// show's and the "IdleMinutes" setting as its idle time. Decided before anything else
// starts, so the launcher never carries SDL, GL or the archive.
#pragma once

// True when the command line asks for the idle launcher.
bool wantsIdleLauncher(int argc, char** argv);
// Replaces this process with the launcher; returns only when that fails (exit code 1).
int runIdleCommand(int argc, char** argv);
