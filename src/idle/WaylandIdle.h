// The Wayland idle protocols: ext-idle-notify-v1 where the compositor offers it, else
// KWin's org_kde_kwin_idle (KWin 5, sway 1.7). Both already count the compositor's idle
// inhibitors (zwp_idle_inhibit_manager_v1), so a playing video holds the show off.
#pragma once

#include <memory>

#include "idle/IdleRules.h"
#include "idle/IdleSource.h"

struct wl_display;

// Connects to $WAYLAND_DISPLAY and says which idle globals it offers; null when there
// is no compositor to talk to.
std::unique_ptr<IdleSource> connectWayland(SessionOffers& offers);
// Starts watching, on a source made by connectWayland, with the chosen protocol
// (ExtIdleNotify or KdeIdle).
bool watchWaylandIdle(IdleSource& source, IdleSourceKind kind, int seconds);
