#pragma once

#include <string>
#include <string_view>

// Names in archives and legacy files are Windows-1252; text leaving the program is UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
