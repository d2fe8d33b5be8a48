// A window another program owns (the screensaver daemon's, a settings preview's), watched
// on a connection of our own: its size as it changes and its destruction. Only
// StructureNotify is selected, which any number of clients may share; the owner keeps
// the input (selecting ButtonPress there would fail with BadAccess).
#pragma once

#include <cstdint>

namespace platform::x11 {

// 0 names the root window of the default screen. False when there is no X display or
// no such window.
bool watchForeignWindow(std::uint64_t handle);
void stopWatching();
// The window's XID while watched (the root's for handle 0); 0 otherwise.
std::uint64_t watchedWindow();
// Reads what the server has reported since the last call.
void pollForeignWindow();
bool foreignWindowDestroyed();
void foreignWindowSize(int& width, int& height);

}  // namespace platform::x11
