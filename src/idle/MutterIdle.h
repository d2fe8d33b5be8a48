// GNOME's idle monitor (org.gnome.Mutter.IdleMonitor on the session bus): an idle watch
// for the launcher's time and, after it fires, a user-active watch. GNOME counts its own
// inhibitors there, and its shield and lock screen stay above every window.
#pragma once

#include <memory>

#include "idle/IdleSource.h"

// Null when the session bus has no idle monitor.
std::unique_ptr<IdleSource> connectMutterIdle();
// On a source made by connectMutterIdle.
bool watchMutterIdle(IdleSource& source, int seconds);
