// One key of the current user's registry hive (HKEY_CURRENT_USER): the Windows settings
// store. Only the Windows backend builds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens `subkey`, creating it (non-volatile, default security) when it is missing.
    bool open(const char* subkey, bool forWriting);
    void close();

    // A REG_DWORD value; false when it is missing or of another type.
    bool readNumber(const char* name, std::uint32_t& value) const;
    enum class TextRead { ok, missing, tooLong };
    // A REG_SZ or REG_EXPAND_SZ value of at most `maxCharacters` UTF-16 characters, read
    // with the wide function and given as UTF-8 (empty unless ok). Missing also stands
    // for a value of another type.
    TextRead readText(const char* name, std::string& text, std::size_t maxCharacters) const;
    bool writeNumber(const char* name, std::uint32_t value);

private:
    void* key_ = nullptr;
};

}  // namespace platform
