#pragma once

// Windows only: reading values from the registry.
#include <windows.h>

#include <string>

namespace venturon {

// Reads the value SubKeyRef of the key KeyName under KeyRoot into KeyVal and
// returns true; on failure KeyVal is emptied and the result is false. A text
// value gives its text; a 32-bit number gives "&h" followed by its hexadecimal
// digits; a value of any other type counts as a failure.
bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal);

} // namespace venturon
