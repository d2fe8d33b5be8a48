// The Windows settings store: the values of "Software\Voidrift 3D Screensaver" under the
// current user, REG_DWORD each, and "Path" as a string the program never writes.
#include "app/SettingValues.h"
#include "app/SettingsStore.h"
#include "app/win32/RegistrySettings.h"
#include "platform/RegistryKey.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kSettingsKey[] = "Software\\Voidrift 3D Screensaver";
constexpr std::size_t kPathCharacters = 254;

// "Path" holds at most 254 characters; a longer one is named rather than silently dropped.
void readPath(const platform::RegistryKey& key) {
    std::string path;
    platform::RegistryKey::TextRead read = key.readText("Path", path, kPathCharacters);
    if (read == platform::RegistryKey::TextRead::tooLong) {
        std::fprintf(stderr, "voidrift: the \"Path\" setting is longer than %d characters and is not used; "
                     "data.ssd is looked for beside the screensaver\n", static_cast<int>(kPathCharacters));
    }
    std::size_t length = path.size() < sizeof settings.path ? path.size() : 0;
    std::memcpy(settings.path, path.data(), length);
    settings.path[length] = '\0';
}

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
    readPath(key);
}

bool storeSettingsInRegistry() {
    platform::RegistryKey key;
    if (!key.open(kSettingsKey, true)) return false;
    bool stored = true;
    for (const SettingValue& value : kSettingValues) {
        stored = key.writeNumber(value.name, storedSetting(settings, value)) && stored;
    }
    return stored;
}

void saveSettings() { storeSettingsInRegistry(); }
