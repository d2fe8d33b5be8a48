// Virtual key codes of the show's input: the Windows numbering, which the backends map to.
#pragma once

namespace platform {

enum KeyCode : int {
    kKeyBack = 0x08,
    kKeyTab = 0x09,
    kKeyReturn = 0x0D,
    kKeyShift = 0x10,
    kKeyControl = 0x11,
    kKeyAlt = 0x12,
    kKeyPause = 0x13,
    kKeyCapital = 0x14,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyPageUp = 0x21,
    kKeyPageDown = 0x22,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyInsert = 0x2D,
    kKeyDelete = 0x2E,
    kKey0 = 0x30,  // '0'..'9'
    kKeyA = 0x41,  // 'A'..'Z'
    kKeyNumpad0 = 0x60,
    kKeyF1 = 0x70,  // F1..F24
    kKeyF10 = 0x79,
    kKeyOther = 0xFF,  // any key without a code of its own
};

}  // namespace platform
