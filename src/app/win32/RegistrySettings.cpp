// The Windows settings store: the values of "Software\Voidrift 3D Screensaver" under the
// current user, REG_DWORD each, and "Path" as a string the program never writes.
#include "app/SettingValues.h"
#include "app/SettingsStore.h"
#include "platform/RegistryKey.h"

namespace {

const char kSettingsKey[] = "Software\\Voidrift 3D Screensaver";

}  // namespace

// A value that is missing or not a REG_DWORD keeps its default.
void loadSettings() {
    platform::DisplayMode desktop{800, 600, 32};
    platform::desktopMode(desktop);
    applyDefaultValues(settings, desktop);
    platform::RegistryKey key;
    if (!key.open(kSettingsKey, false)) return;
    for (int index : kSettingReadOrder) {
        std::uint32_t stored = 0;
        if (key.readNumber(kSettingValues[index].name, stored)) takeStoredSetting(settings, kSettingValues[index], stored);
    }
    applyLoadRules(settings);
    key.readText("Path", settings.path, Settings::kPathCapacity);
}

void saveSettings() {
    platform::RegistryKey key;
    if (!key.open(kSettingsKey, true)) return;
    for (const SettingValue& value : kSettingValues) key.writeNumber(value.name, storedSetting(settings, value));
}
