#pragma once

#include <string>

#include "Result.h"

// Buffer of the profile reads: values are cut to 8190 characters.
inline constexpr int kIniBufferSize = 8191;

// Profile (INI) file access with the rules of the Windows profile functions: section and
// key names match without regard to case, the first matching section and key count, blanks
// around names and values are dropped, one pair of matching quotes around a value is
// removed, CRLF and LF both end lines. A missing file, section or key gives defaultValue.
// The result is cut to nSize - 1 bytes.
std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, const std::string& file,
                                     int nSize = kIniBufferSize);

// Sets key=value in the section. The file and the section are created when missing; an
// existing key is replaced on its own line and every other byte of the file is kept. The
// file is replaced atomically. Names or values that would break the line structure (line
// breaks, "]" in a section name, "=" in a key) are refused.
Result WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& file);

// A profile read with the default "$": a missing value and a value of exactly "$" both
// read as the empty string.
std::string GetIniString(const std::string& section, const std::string& key,
                         const std::string& file);
