// logind's Lock signal for this session, on the system bus: the desktop's lock screen is
// coming, and a running show must not stand in front of it. Reported as a Locked edge.
#pragma once

#include <memory>

#include "idle/IdleSource.h"

// Null when there is no system bus, no logind or no session of ours.
std::unique_ptr<IdleSource> watchSessionLock();
