#include "dialog/gtk/DialogLayout.h"

#include "app/ConfigDialogModel.h"

namespace {

const ControlTemplate kControls[] = {
    {control::ok, ControlKind::defaultButton, "OK", {232, 217, 65, 14}},
    {control::cancel, ControlKind::button, "Cancel", {307, 217, 65, 14}},
    {0, ControlKind::group, "Video Mode", {6, 6, 96, 64}},
    {control::modeList, ControlKind::dropDown, "", {12, 18, 84, 70}},
    {control::useDesktop, ControlKind::checkBox, "Use Desktop Settings", {12, 39, 81, 9}},
    {control::vsync, ControlKind::checkBox, "VSync", {12, 54, 81, 9}},
    {0, ControlKind::group, "Options", {108, 6, 91, 64}},
    {control::showTime, ControlKind::checkBox, "Show Time", {113, 23, 67, 9}},
    {control::showFps, ControlKind::checkBox, "Show FPS", {113, 39, 66, 9}},
    {control::mouseExit, ControlKind::checkBox, "Exit on Mouse move", {113, 54, 78, 9}},
    {0, ControlKind::group, "Gamma Control", {6, 72, 193, 41}},
    {control::brightnessLabel, ControlKind::label, "Brightness", {12, 86, 69, 8}},
    {control::brightness, ControlKind::trackbar, "", {84, 86, 108, 12}},
    {control::defGamma, ControlKind::checkBox, "Use by Defaults", {12, 99, 65, 10}},
    {0, ControlKind::group, "Sounds", {6, 115, 193, 41}},
    {control::volumeLabel, ControlKind::label, "Volume", {13, 128, 51, 8}},
    {control::volume, ControlKind::trackbar, "", {84, 127, 108, 12}},
    {control::enableMusic, ControlKind::checkBox, "Enable Music", {12, 141, 85, 10}},
    {0, ControlKind::picture, "", {204, 10, 177, 103}},
    {0, ControlKind::group, "Scene Options", {204, 115, 177, 41}},
    {0, ControlKind::label, "Camera Speed", {210, 126, 51, 8}},
    {control::cameraSpeed, ControlKind::dropDown, "", {266, 124, 109, 45}},
    {control::galaxy, ControlKind::checkBox, "Enable Galaxy Scenes", {210, 141, 87, 10}},
    {0, ControlKind::group, "Products", {6, 159, 375, 25}},
    {control::invitation, ControlKind::label, ConfigDialogModel::invitationText(), {12, 169, 215, 8}},
    {control::visit, ControlKind::button, "Visit...", {232, 167, 65, 12}},
    {control::about, ControlKind::button, "About...", {307, 167, 65, 12}},
    {control::restoreDefaults, ControlKind::button, "Restore Defaults", {12, 217, 75, 14}},
};

}  // namespace

const ControlTemplate* configDialogControls(int& count) {
    count = static_cast<int>(sizeof kControls / sizeof kControls[0]);
    return kControls;
}
