// The configuration dialog's behaviour without any toolkit: which items the lists hold and
// which is selected, which controls are enabled or checked, the label texts and the
// trackbar positions. A view (GTK on Linux, Win32 on Windows) forwards its init, command and
// trackbar messages here and shows the state it reads back; control ids are those of the
// dialog template, so a Win32 view passes its messages through unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "script/Settings.h"

namespace control {
constexpr int ok = 1;
constexpr int cancel = 2;
constexpr int modeList = 1000;
constexpr int useDesktop = 1001;
constexpr int enableMusic = 1003;
constexpr int showTime = 1004;
constexpr int restoreDefaults = 1006;
constexpr int visit = 1007;
constexpr int about = 1008;
constexpr int mouseExit = 1011;
constexpr int volumeLabel = 1017;
constexpr int galaxy = 1023;
constexpr int volume = 1026;
constexpr int showFps = 1027;
constexpr int vsync = 1028;
constexpr int brightness = 1029;
constexpr int brightnessLabel = 1030;
constexpr int defGamma = 1032;
constexpr int cameraSpeed = 1033;
constexpr int invitation = 1035;
}  // namespace control

// Trackbar scroll codes as Windows numbers them.
namespace scroll {
constexpr int lineUp = 0;
constexpr int lineDown = 1;
constexpr int pageUp = 2;
constexpr int pageDown = 3;
constexpr int thumbPosition = 4;
constexpr int thumbTrack = 5;
constexpr int top = 6;
constexpr int bottom = 7;
constexpr int endScroll = 8;
}  // namespace scroll

// What the view does after a command.
enum class DialogAction {
    notHandled,    // the command is not the dialog's
    handled,       // state changed (or not); refresh and go on
    closeOk,       // saved: end the dialog with 1
    saveFailed,    // OK could not store the settings: say so and stay open
    closeCancel,   // end the dialog with 2, nothing saved
    openWebPage,   // open visitTarget() with the desktop's opener (say so when it is empty)
    showAbout,     // run the About box modally
};

struct TrackbarRange {
    int minimum = 0;
    int maximum = 0;
    int pageSize = 0;
};

class ConfigDialogModel {
public:
    using SaveFunction = std::function<bool(const Settings&)>;  // false: not stored

    // `record` is edited in place; `save` stores it when OK is pressed.
    ConfigDialogModel(Settings& record, std::vector<platform::DisplayMode> modes, platform::DisplayMode desktop,
                      SaveFunction save);

    void initialize();
    DialogAction command(int id);
    // A trackbar message with the scroll code and both trackbars' thumb positions now.
    void horizontalScroll(int code, int volumePosition, int brightnessPosition);
    // The user picked item `index` of the mode list or the camera-speed list.
    void listSelectionChanged(int id, int index);

    const std::vector<std::string>& modeItems() const { return modeItems_; }
    int modeSelection() const { return modeSelection_; }  // -1: none
    const std::vector<std::string>& speedItems() const { return speedItems_; }
    int speedSelection() const { return speedSelection_; }  // -1: none
    bool isChecked(int id) const;
    bool isEnabled(int id) const;  // controls the dialog never disables are always enabled
    std::string labelText(int id) const;
    int trackbarPosition(int id) const;
    TrackbarRange trackbarRange(int id) const;

    // The local help page "Visit..." opens; "" when it is not installed.
    void setVisitTarget(std::string page) { visitTarget_ = std::move(page); }
    const std::string& visitTarget() const { return visitTarget_; }
    static const char* invitationText();

private:
    void selectMode(const std::string& text);
    void selectDesktopMode();
    void toggle(int id);
    void restoreDefaults();
    bool finishWithOk();
    void setVolume(int value);
    void setGamma(int value);

    Settings& record_;
    std::vector<platform::DisplayMode> modes_;
    platform::DisplayMode desktop_;
    SaveFunction save_;

    std::vector<std::string> modeItems_;
    int modeSelection_ = -1;
    std::vector<std::string> speedItems_;
    int speedSelection_ = -1;
    bool modeListEnabled_ = true;
    bool volumeEnabled_ = true;
    bool brightnessEnabled_ = true;
    std::string volumeLabel_ = "Volume";
    std::string brightnessLabel_ = "Brightness";
    int volumePosition_ = 1;
    int brightnessPosition_ = 0;
    std::string visitTarget_;
};

// "%d x %d %d bits"
std::string formatModeItem(const platform::DisplayMode& mode);
// The list's items from the enumerated modes: at least 640 x 480 x 16, consecutive repeats
// (the same mode at another refresh rate) once, in the system's order.
std::vector<std::string> modeListItems(const std::vector<platform::DisplayMode>& modes);
