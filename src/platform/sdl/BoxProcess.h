// SDL shows a message box on X11 in a child process it forks and waits for. That child
// must not outlive us (a box left on a display the run no longer owns), and a stop signal
// must be able to close it while the run waits for it.
#pragma once

namespace platform::box {

// Around the call that shows the box: the child forked in between is the box's.
void begin();
void end();
// Kills the box's process, if one is up; async-signal-safe.
void kill();

}  // namespace platform::box
