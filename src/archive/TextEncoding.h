#pragma once

#include <optional>
#include <string>
#include <string_view>

// Names in archives and legacy files are Windows-1252; text leaving the program is UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// Text typed by a user, as the bytes names are stored in; nothing when a character has no
// Windows-1252 byte (no stored name can hold it).
std::optional<std::string> ToCp1252(std::u32string_view text);

// The Windows-1252 bytes of a UTF-8 text; false when it is not valid UTF-8 or holds a
// character that Windows-1252 cannot store.
bool Utf8ToCp1252(std::string_view text, std::string& out);
