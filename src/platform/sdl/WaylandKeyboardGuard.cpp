#include "platform/sdl/WaylandKeyboardGuard.h"

#include <dlfcn.h>
#include <xkbcommon/xkbcommon.h>

namespace {

using UpdateMask = xkb_state_component (*)(xkb_state*, xkb_mod_mask_t, xkb_mod_mask_t, xkb_mod_mask_t,
                                           xkb_layout_index_t, xkb_layout_index_t, xkb_layout_index_t);

using KeyForEach = void (*)(xkb_keymap*, xkb_keymap_key_iter_t, void*);

UpdateMask realUpdateMask() {
    static auto real = reinterpret_cast<UpdateMask>(dlsym(RTLD_NEXT, "xkb_state_update_mask"));
    return real;
}

KeyForEach realKeyForEach() {
    static auto real = reinterpret_cast<KeyForEach>(dlsym(RTLD_NEXT, "xkb_keymap_key_for_each"));
    return real;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) xkb_state_component xkb_state_update_mask(
    xkb_state* state, xkb_mod_mask_t depressedMods, xkb_mod_mask_t latchedMods, xkb_mod_mask_t lockedMods,
    xkb_layout_index_t depressedLayout, xkb_layout_index_t latchedLayout, xkb_layout_index_t lockedLayout) {
    UpdateMask real = realUpdateMask();
    if (!state || !real) return static_cast<xkb_state_component>(0);
    return real(state, depressedMods, latchedMods, lockedMods, depressedLayout, latchedLayout, lockedLayout);
}

extern "C" __attribute__((visibility("default"))) void xkb_keymap_key_for_each(xkb_keymap* keymap,
                                                                               xkb_keymap_key_iter_t iterate,
                                                                               void* data) {
    KeyForEach real = realKeyForEach();
    if (keymap && real) real(keymap, iterate, data);
}

namespace platform {

bool guardWaylandKeyboard() { return realUpdateMask() && realKeyForEach(); }

}  // namespace platform
