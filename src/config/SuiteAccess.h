#pragma once

#include <cstdint>
#include <string>

// Machine-wide key shared by every tool of the Vantorel suite.
inline constexpr const char* kSuiteKey = "Software\\Quillmoor";

// subPath begins with a backslash ("\Games Configuration"); the key is kSuiteKey + subPath
// in HKEY_LOCAL_MACHINE.
std::string ReadSuiteString(const std::string& subPath, const std::string& valueName);
int32_t ReadSuiteDword(const std::string& subPath, const std::string& valueName,
                       int32_t defaultValue);
bool WriteSuiteString(const std::string& subPath, const std::string& valueName,
                      const std::string& value);
bool WriteSuiteDword(const std::string& subPath, const std::string& valueName, int32_t value);
