#include "registry_windows.h"

#include <cstdio>
#include <cstring>

namespace venturon {

namespace {

constexpr DWORD value_buffer_size = 1024;

// A text value ends at its first zero character, whether or not it was stored
// with one.
std::string text_of(const char* buffer, DWORD size) {
    std::string text(buffer, size);
    const auto end = text.find('\0');
    if (end != std::string::npos) {
        text.resize(end);
    }
    return text;
}

std::string expanded(const std::string& text) {
    char buffer[value_buffer_size * 4];
    const DWORD length = ExpandEnvironmentStringsA(text.c_str(), buffer, sizeof buffer);
    if (length == 0 || length > sizeof buffer) {
        return text;
    }
    return std::string(buffer); // length counts the terminating zero
}

} // namespace

bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal) {
    // Read access is all that is needed, and all that an ordinary user is given
    // under HKEY_LOCAL_MACHINE.
    HKEY key = nullptr;
    if (RegOpenKeyExA(KeyRoot, KeyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }

    char buffer[value_buffer_size] = {};
    DWORD size = value_buffer_size;
    DWORD type = REG_NONE;
    const LONG status = RegQueryValueExA(key, SubKeyRef.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || size > value_buffer_size) {
        KeyVal.clear();
        return false;
    }

    switch (type) {
    case REG_SZ:
        KeyVal = text_of(buffer, size);
        return true;
    case REG_EXPAND_SZ:
        KeyVal = expanded(text_of(buffer, size));
        return true;
    case REG_DWORD:
        if (size == sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, buffer, sizeof number);
            char digits[16];
            std::snprintf(digits, sizeof digits, "&h%lX", static_cast<unsigned long>(number));
            KeyVal = digits;
            return true;
        }
        break;
    default:
        break;
    }
    KeyVal.clear();
    return false;
}

} // namespace venturon
