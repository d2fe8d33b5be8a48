// SDL key codes to the show's virtual key codes.
#pragma once

namespace platform {

// 1..255 for every key; kKeyOther when the key has no code of its own.
int virtualKeyFromSdl(int sdlKeycode);
// Alt combinations and F10 belong to the system, as on Windows: they never reach the show.
bool isSystemKey(int virtualKey, bool altHeld);

}  // namespace platform
