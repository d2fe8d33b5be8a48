// The configure mode of the Linux build: the dialog view is a module loaded only here.
#pragma once

#include "app/SaverApp.h"

// The configuration dialog over the process-wide settings, through the dialog view's
// module. Returns the process exit code: 0 after OK or Cancel, 1 when no dialog could be
// shown (no display, no module), with the reason on stderr.
int runConfigureDialog(const SaverApp& app, bool displayStarted);
