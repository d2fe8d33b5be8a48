#include "app/SettingValues.h"

namespace {

constexpr SettingValue flag(const char* name, bool Settings::*member) {
    return {name, SettingKind::Boolean, member, nullptr, nullptr};
}
constexpr SettingValue count(const char* name, std::uint32_t Settings::*member) {
    return {name, SettingKind::Unsigned, nullptr, member, nullptr};
}
constexpr SettingValue number(const char* name, std::int32_t Settings::*member) {
    return {name, SettingKind::Signed, nullptr, nullptr, member};
}

}  // namespace

const SettingValue kSettingValues[kSettingValueCount] = {
    flag("ShowClock", &Settings::showClock),   flag("EnableMusic", &Settings::enableMusic),
    flag("UseDesktop", &Settings::useDesktop), flag("ShowFlame", &Settings::showFlame),
    flag("DefGamma", &Settings::defGamma),     count("Width", &Settings::width),
    count("Height", &Settings::height),        number("Depth", &Settings::depth),
    number("Volume", &Settings::volume),       count("TimeScale", &Settings::timeScale),
    number("Gamma", &Settings::gamma),         flag("Galaxy", &Settings::galaxy),
    flag("VSync", &Settings::vsync),           flag("MouseExit", &Settings::mouseExit),
    flag("ShowFPS", &Settings::showFps),       number("MaxFps", &Settings::maxFps),
    count("IdleMinutes", &Settings::idleMinutes),
};

// Gamma before TimeScale, ShowFPS before VSync and MouseExit; our own values last.
const int kSettingReadOrder[kSettingValueCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 9, 11, 14, 12, 13, 15, 16};

std::uint32_t storedSetting(const Settings& record, const SettingValue& value) {
    switch (value.kind) {
        case SettingKind::Boolean: return record.*value.boolean ? 1u : 0u;
        case SettingKind::Unsigned: return record.*value.unsignedNumber;
        case SettingKind::Signed: return static_cast<std::uint32_t>(record.*value.signedNumber);
    }
    return 0;
}

void takeStoredSetting(Settings& record, const SettingValue& value, std::uint32_t stored) {
    switch (value.kind) {
        case SettingKind::Boolean: record.*value.boolean = stored != 0; break;
        case SettingKind::Unsigned: record.*value.unsignedNumber = stored; break;
        case SettingKind::Signed: record.*value.signedNumber = static_cast<std::int32_t>(stored); break;
    }
}

void applyLoadRules(Settings& record) {
    if (record.timeScale > 3) record.timeScale = 0;
    if (record.idleMinutes < 1 || record.idleMinutes > 1440) record.idleMinutes = 10;
}

void applyDefaultValues(Settings& record, const platform::DisplayMode& desktop) {
    record = Settings{};
    record.width = static_cast<std::uint32_t>(desktop.width);
    record.height = static_cast<std::uint32_t>(desktop.height);
    record.depth = desktop.bitsPerPixel;
}
