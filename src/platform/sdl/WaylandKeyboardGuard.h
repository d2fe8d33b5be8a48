// SDL 2.26's Wayland keyboard applies a modifiers event to its keyboard state and keymap
// even when no keymap has come yet, and both are then null: it crashes. A seat whose
// active keyboard went away (a virtual keyboard such as wtype's or an on-screen one, an
// unplugged one) greets the next window exactly that way. This program's own
// xkb_state_update_mask and xkb_keymap_key_for_each (SDL calls them through the global
// symbol scope) ignore a null state or keymap, as later SDL versions do, and hand every
// other call to libxkbcommon's.
#pragma once

namespace platform {

// Looks up libxkbcommon's function; true when the guard stands in front of it.
bool guardWaylandKeyboard();

}  // namespace platform
