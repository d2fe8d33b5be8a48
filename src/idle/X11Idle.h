// Plain X11 (no screensaver daemon): the server's own screen-saver timer, heard through
// the MIT-SCREEN-SAVER extension. Video players already hold that timer off
// (XScreenSaverSuspend, XResetScreenSaver), so the show honours them for free. The
// server's earlier timer settings come back when the launcher ends.
#pragma once

#include <memory>
#include <string>

#include "idle/IdleSource.h"

// Null when there is no X display or it lacks the extension.
std::unique_ptr<IdleSource> connectX11();
// Names the screensaver daemon that owns this display's screen saver ("XScreenSaver"),
// or empty when none does.
// (Sources made by connectX11.)
std::string screenSaverDaemon(IdleSource& source);
bool watchX11Idle(IdleSource& source, int seconds);
