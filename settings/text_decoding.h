#pragma once

// Text files written elsewhere, as UTF-8: files from other programs come in UTF-8,
// in a Windows code page, or now and then in UTF-16.

#include <string>
#include <string_view>

namespace venturon {

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// beyond U+10FFFF).
bool valid_utf8(std::string_view bytes);

// The text of a file as UTF-8: a UTF-8 byte order mark is dropped; after a UTF-16
// byte order mark (either order) the UTF-16 is converted; valid UTF-8 stays as it
// is; anything else is read as Windows-1252 (Western European), the code page such
// files are most often written in, with its five unassigned bytes as U+FFFD.
std::string utf8_text(std::string_view bytes);

} // namespace venturon
