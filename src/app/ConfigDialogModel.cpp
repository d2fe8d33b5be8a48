#include "app/ConfigDialogModel.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

namespace {

// The check boxes and the setting each one shows.
struct CheckBox {
    int id;
    bool Settings::*setting;
};

const CheckBox kCheckBoxes[] = {
    {control::useDesktop, &Settings::useDesktop}, {control::enableMusic, &Settings::enableMusic},
    {control::showTime, &Settings::showClock},    {control::mouseExit, &Settings::mouseExit},
    {control::galaxy, &Settings::galaxy},         {control::showFps, &Settings::showFps},
    {control::vsync, &Settings::vsync},           {control::defGamma, &Settings::defGamma},
};

const CheckBox* findCheckBox(int id) {
    for (const CheckBox& box : kCheckBoxes) {
        if (box.id == id) return &box;
    }
    return nullptr;
}

bool qualifies(const platform::DisplayMode& mode) {
    return mode.width >= 640 && mode.height >= 480 && mode.bitsPerPixel >= 16;
}

bool sameMode(const platform::DisplayMode& a, const platform::DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel;
}

// The list's own search: the first item that begins with the text, ignoring case.
int findPrefix(const std::vector<std::string>& items, const std::string& text) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (item.size() < text.size()) continue;
        bool match = true;
        for (std::size_t k = 0; k < text.size() && match; ++k) {
            match = std::tolower(static_cast<unsigned char>(item[k])) == std::tolower(static_cast<unsigned char>(text[k]));
        }
        if (match) return static_cast<int>(i);
    }
    return -1;
}

std::string percentLabel(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string formatModeItem(const platform::DisplayMode& mode) {
    char text[64];
    std::snprintf(text, sizeof text, "%d x %d %d bits", mode.width, mode.height, mode.bitsPerPixel);
    return text;
}

std::vector<std::string> modeListItems(const std::vector<platform::DisplayMode>& modes) {
    std::vector<std::string> items;
    const platform::DisplayMode* previous = nullptr;
    for (const platform::DisplayMode& mode : modes) {
        if (!qualifies(mode)) continue;
        if (!previous || !sameMode(mode, *previous)) items.push_back(formatModeItem(mode));
        previous = &mode;
    }
    return items;
}

ConfigDialogModel::ConfigDialogModel(Settings& record, std::vector<platform::DisplayMode> modes,
                                     platform::DisplayMode desktop, SaveFunction save)
    : record_(record), modes_(std::move(modes)), desktop_(desktop), save_(std::move(save)) {}

// A placeholder until the project has a page of its own.
const char* ConfigDialogModel::invitationText() { return "Help on the settings, installing and removing:"; }

void ConfigDialogModel::initialize() {
    // A hand-edited value beyond a trackbar's range is shown, and saved, as the run takes it.
    TrackbarRange volume = trackbarRange(control::volume);
    TrackbarRange brightness = trackbarRange(control::brightness);
    record_.volume = std::clamp(record_.volume, volume.minimum, volume.maximum);
    record_.gamma = std::clamp(record_.gamma, brightness.minimum, brightness.maximum);
    modeItems_ = modeListItems(modes_);
    modeSelection_ = -1;
    if (record_.useDesktop) {
        selectDesktopMode();
    } else {
        platform::DisplayMode stored{static_cast<int>(record_.width), static_cast<int>(record_.height), record_.depth};
        selectMode(formatModeItem(stored));
        modeListEnabled_ = true;
    }
    speedItems_ = {"Normal", "Fast", "Fastest"};
    speedSelection_ = record_.timeScale < speedItems_.size() ? static_cast<int>(record_.timeScale) : -1;
    volumeEnabled_ = record_.enableMusic;
    volumeLabel_ = percentLabel("Volume (%d%%)", record_.volume);
    brightnessEnabled_ = !record_.defGamma;
    brightnessLabel_ = percentLabel("Brightness (%d%%)", record_.gamma + 50);
    volumePosition_ = record_.volume;
    brightnessPosition_ = record_.gamma;
}

DialogAction ConfigDialogModel::command(int id) {
    switch (id) {
        case control::ok: return finishWithOk() ? DialogAction::closeOk : DialogAction::saveFailed;
        case control::cancel: return DialogAction::closeCancel;
        case control::restoreDefaults: restoreDefaults(); return DialogAction::handled;
        case control::visit: return DialogAction::openWebPage;
        case control::about: return DialogAction::showAbout;
        default: break;
    }
    if (!findCheckBox(id)) return DialogAction::notHandled;
    toggle(id);
    return DialogAction::handled;
}

void ConfigDialogModel::toggle(int id) {
    bool Settings::*setting = findCheckBox(id)->setting;
    record_.*setting = !(record_.*setting);
    if (id == control::useDesktop) {
        if (record_.useDesktop) {
            selectDesktopMode();
        } else {
            modeListEnabled_ = true;
        }
    } else if (id == control::enableMusic) {
        volumeEnabled_ = record_.enableMusic;
    } else if (id == control::defGamma) {
        brightnessEnabled_ = !record_.defGamma;
    }
}

void ConfigDialogModel::horizontalScroll(int code, int volumePosition, int brightnessPosition) {
    // The thumbs are where the view says whatever the code; only page and drag moves take.
    volumePosition_ = volumePosition;
    brightnessPosition_ = brightnessPosition;
    if (code != scroll::pageUp && code != scroll::pageDown && code != scroll::thumbTrack) return;
    setVolume(volumePosition);
    setGamma(brightnessPosition);
}

void ConfigDialogModel::listSelectionChanged(int id, int index) {
    if (id == control::modeList && index >= -1 && index < static_cast<int>(modeItems_.size())) modeSelection_ = index;
    if (id == control::cameraSpeed && index >= -1 && index < static_cast<int>(speedItems_.size())) {
        speedSelection_ = index;
    }
}

void ConfigDialogModel::setVolume(int value) {
    record_.volume = value;
    volumeLabel_ = percentLabel("Volume (%d%%)", value);
}

void ConfigDialogModel::setGamma(int value) {
    record_.gamma = value;
    brightnessLabel_ = percentLabel("Brightness (%d%%)", value + 50);
}

void ConfigDialogModel::restoreDefaults() {
    selectDesktopMode();
    record_.useDesktop = true;
    record_.enableMusic = true;
    setVolume(100);
    setGamma(50);
    volumeEnabled_ = record_.enableMusic;
    record_.showClock = true;
    record_.showFps = false;
    record_.vsync = false;
    record_.mouseExit = false;
    volumePosition_ = 100;
    brightnessPosition_ = 50;
    record_.defGamma = true;
    brightnessEnabled_ = false;
    record_.timeScale = 0;
    speedSelection_ = 0;
}

bool ConfigDialogModel::finishWithOk() {
    if (modeSelection_ >= 0) {
        int width = 0;
        int height = 0;
        int depth = 0;
        int fields = std::sscanf(modeItems_[static_cast<std::size_t>(modeSelection_)].c_str(), "%d x %d %d bits",
                                 &width, &height, &depth);
        if (fields >= 1) record_.width = static_cast<std::uint32_t>(width);
        if (fields >= 2) record_.height = static_cast<std::uint32_t>(height);
        if (fields >= 3) record_.depth = depth;
    }
    // No selection reads as -1, which the next load turns into Normal.
    record_.timeScale = static_cast<std::uint32_t>(speedSelection_);
    return !save_ || save_(record_);
}

void ConfigDialogModel::selectMode(const std::string& text) {
    int found = findPrefix(modeItems_, text);
    if (found >= 0) modeSelection_ = found;
}

void ConfigDialogModel::selectDesktopMode() {
    selectMode(formatModeItem(desktop_));
    modeListEnabled_ = false;
}

bool ConfigDialogModel::isChecked(int id) const {
    const CheckBox* box = findCheckBox(id);
    return box && record_.*(box->setting);
}

bool ConfigDialogModel::isEnabled(int id) const {
    switch (id) {
        case control::modeList: return modeListEnabled_;
        case control::volume:
        case control::volumeLabel: return volumeEnabled_;
        case control::brightness:
        case control::brightnessLabel: return brightnessEnabled_;
        default: return true;
    }
}

std::string ConfigDialogModel::labelText(int id) const {
    if (id == control::volumeLabel) return volumeLabel_;
    if (id == control::brightnessLabel) return brightnessLabel_;
    if (id == control::invitation) return invitationText();
    return "";
}

int ConfigDialogModel::trackbarPosition(int id) const {
    return id == control::volume ? volumePosition_ : id == control::brightness ? brightnessPosition_ : 0;
}

TrackbarRange ConfigDialogModel::trackbarRange(int id) const {
    if (id == control::volume) return {1, 100, 10};
    if (id == control::brightness) return {0, 100, 10};
    return {};
}
