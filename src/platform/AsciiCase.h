#pragma once

#include <string>
#include <string_view>

// Windows matches registry, profile and file names without regard to case. Only the
// ASCII letters are folded: bytes above 0x7F are Windows-1252 text kept as it is.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);
