#include "platform/RegistryKey.h"

#include <windows.h>

#include <cstring>

namespace platform {

namespace {

HKEY handle(void* key) { return static_cast<HKEY>(key); }

}  // namespace

RegistryKey::~RegistryKey() { close(); }

bool RegistryKey::open(const char* subkey, bool forWriting) {
    close();
    HKEY key = nullptr;
    REGSAM access = forWriting ? KEY_WRITE : KEY_READ;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                  &key, nullptr);
    if (result != ERROR_SUCCESS) return false;
    key_ = key;
    return true;
}

void RegistryKey::close() {
    if (key_) RegCloseKey(handle(key_));
    key_ = nullptr;
}

bool RegistryKey::readNumber(const char* name, std::uint32_t& value) const {
    if (!key_) return false;
    DWORD type = 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    LONG result = RegQueryValueExA(handle(key_), name, nullptr, &type, reinterpret_cast<BYTE*>(&number), &size);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof number) return false;
    value = number;
    return true;
}

bool RegistryKey::readText(const char* name, char* text, std::size_t capacity) const {
    if (!key_ || capacity == 0) return false;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    std::memset(text, 0, capacity);
    LONG result = RegQueryValueExA(handle(key_), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    // A stored string need not carry its terminator; the last byte always stays one.
    bool ok = result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) &&
              (size < capacity || text[capacity - 1] == '\0');
    if (!ok) text[0] = '\0';
    text[capacity - 1] = '\0';
    return ok;
}

bool RegistryKey::writeNumber(const char* name, std::uint32_t value) {
    if (!key_) return false;
    DWORD number = value;
    return RegSetValueExA(handle(key_), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) ==
           ERROR_SUCCESS;
}

}  // namespace platform
