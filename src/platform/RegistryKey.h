// One key of the current user's registry hive (HKEY_CURRENT_USER): the Windows settings
// store. Only the Windows backend builds it.
#pragma once

#include <cstddef>
#include <cstdint>

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
    // A REG_SZ value into `capacity` bytes, always terminated; false when it is missing,
    // of another type or too long.
    bool readText(const char* name, char* text, std::size_t capacity) const;
    bool writeNumber(const char* name, std::uint32_t value);

private:
    void* key_ = nullptr;
};

}  // namespace platform
