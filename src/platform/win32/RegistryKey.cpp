#include "platform/RegistryKey.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/WideText.h"

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

RegistryKey::TextRead RegistryKey::readText(const char* name, std::string& text, std::size_t maxCharacters) const {
    text.clear();
    if (!key_) return TextRead::missing;
    std::wstring wideName = wideText(name);
    // Room for the characters and a terminator, and one more to tell a full buffer from a long value.
    std::wstring buffer(maxCharacters + 2, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LONG result = RegQueryValueExW(handle(key_), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                   &size);
    bool textType = type == REG_SZ || type == REG_EXPAND_SZ;
    if (result == ERROR_MORE_DATA && textType) return TextRead::tooLong;
    if (result != ERROR_SUCCESS || !textType) return TextRead::missing;
    // A stored string need not carry its terminator.
    buffer.resize(size / sizeof(wchar_t));
    std::size_t end = buffer.find(L'\0');
    if (end != std::wstring::npos) buffer.resize(end);
    if (buffer.size() > maxCharacters) return TextRead::tooLong;
    text = utf8Text(buffer);
    return TextRead::ok;
}

bool RegistryKey::writeNumber(const char* name, std::uint32_t value) {
    if (!key_) return false;
    DWORD number = value;
    return RegSetValueExA(handle(key_), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) ==
           ERROR_SUCCESS;
}

}  // namespace platform
