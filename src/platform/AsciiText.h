#pragma once

#include <string>
#include <string_view>

// Windows matches registry, profile and file names without regard to case. Only the
// ASCII letters are folded: bytes above 0x7F are Windows-1252 text kept as it is.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
char ToUpperAscii(char c);
std::string ToUpperAscii(std::string_view text);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);
bool StartsWithNoCaseAscii(std::string_view text, std::string_view prefix);

// Without the blanks and tabs around it, as profile and registry lines are read.
std::string_view TrimBlanks(std::string_view text);
