#include "platform/sdl/SdlKeys.h"

#include <SDL.h>

#include "platform/KeyCodes.h"

namespace platform {

namespace {

struct KeyPair {
    SDL_Keycode sdl;
    int virtualKey;
};

constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, kKeyBack},   {SDLK_TAB, kKeyTab},          {SDLK_RETURN, kKeyReturn},
    {SDLK_KP_ENTER, kKeyReturn},  {SDLK_LSHIFT, kKeyShift},     {SDLK_RSHIFT, kKeyShift},
    {SDLK_LCTRL, kKeyControl},    {SDLK_RCTRL, kKeyControl},    {SDLK_LALT, kKeyAlt},
    {SDLK_RALT, kKeyAlt},         {SDLK_PAUSE, kKeyPause},      {SDLK_CAPSLOCK, kKeyCapital},
    {SDLK_ESCAPE, kKeyEscape},    {SDLK_SPACE, kKeySpace},      {SDLK_PAGEUP, kKeyPageUp},
    {SDLK_PAGEDOWN, kKeyPageDown}, {SDLK_END, kKeyEnd},         {SDLK_HOME, kKeyHome},
    {SDLK_LEFT, kKeyLeft},        {SDLK_UP, kKeyUp},            {SDLK_RIGHT, kKeyRight},
    {SDLK_DOWN, kKeyDown},        {SDLK_INSERT, kKeyInsert},    {SDLK_DELETE, kKeyDelete},
};

}  // namespace

int virtualKeyFromSdl(int sdlKeycode) {
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return kKeyA + (sdlKeycode - SDLK_a);
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) return kKey0 + (sdlKeycode - SDLK_0);
    if (sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) return kKeyNumpad0 + 1 + (sdlKeycode - SDLK_KP_1);
    if (sdlKeycode == SDLK_KP_0) return kKeyNumpad0;
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) return kKeyF1 + (sdlKeycode - SDLK_F1);
    if (sdlKeycode >= SDLK_F13 && sdlKeycode <= SDLK_F24) return kKeyF1 + 12 + (sdlKeycode - SDLK_F13);
    for (const KeyPair& pair : kNamedKeys) {
        if (pair.sdl == sdlKeycode) return pair.virtualKey;
    }
    return kKeyOther;
}

bool isSystemKey(int virtualKey, bool altHeld) {
    return altHeld || virtualKey == kKeyAlt || virtualKey == kKeyF10;
}

}  // namespace platform
