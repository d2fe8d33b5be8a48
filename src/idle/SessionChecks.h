// What the session says when the idle time is reached: logind's idle inhibitors
// ("BlockInhibited" containing "idle", as `systemd-inhibit --what=idle` takes) and its
// lock hint on the system bus, GNOME's session manager idle-inhibit flag on the session
// bus. A bus or service that is not there holds nothing.
#pragma once

#include "idle/IdleRules.h"

IdleConditions readSessionConditions();
