// The configuration dialog's template: every control with its id, kind, caption and place
// in dialog units, in the template's order (which is also the keyboard's Tab order).
#pragma once

enum class ControlKind { defaultButton, button, group, dropDown, checkBox, label, trackbar, picture };

struct DialogUnits {
    int x, y, width, height;
};

struct ControlTemplate {
    int id;  // 0 for controls the dialog never addresses
    ControlKind kind;
    const char* text;
    DialogUnits place;
};

constexpr DialogUnits kConfigDialogSize{0, 0, 386, 238};
constexpr DialogUnits kAboutBoxSize{0, 0, 186, 102};

const ControlTemplate* configDialogControls(int& count);
