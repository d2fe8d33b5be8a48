// The stored settings, one list for both stores (the registry on Windows, the settings
// file on Linux): value names, what each holds, the write and read orders, the defaults
// and the rule applied to what was read.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "script/Settings.h"

enum class SettingKind { Boolean, Unsigned, Signed };

// One 32-bit value and the member of Settings that holds it.
struct SettingValue {
    const char* name;
    SettingKind kind;
    bool Settings::*boolean;
    std::uint32_t Settings::*unsignedNumber;
    std::int32_t Settings::*signedNumber;
};

constexpr int kSettingValueCount = 17;
// In the order the stores write them.
extern const SettingValue kSettingValues[kSettingValueCount];
// Indexes into kSettingValues in the order the registry store reads them.
extern const int kSettingReadOrder[kSettingValueCount];

// The value as stored: booleans 0 or 1, signed numbers as their 32 bits.
std::uint32_t storedSetting(const Settings& record, const SettingValue& value);
// Takes a stored value: booleans are true for any nonzero number.
void takeStoredSetting(Settings& record, const SettingValue& value, std::uint32_t stored);
// After a load: a TimeScale above 3 (a negative one too, as unsigned) becomes 0; an
// IdleMinutes outside 1 to 1440 becomes 10.
void applyLoadRules(Settings& record);

// The values a missing store or value gives: the Restore Defaults values, the desktop's
// display mode, ShowFlame and Galaxy off, an empty Path.
void applyDefaultValues(Settings& record, const platform::DisplayMode& desktop);
