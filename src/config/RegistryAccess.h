#pragma once

#include <cstdint>
#include <string>

#include "RegistryRoot.h"

// Buffer of the string reads, terminating zero included: a value of 8191 bytes or more
// (8191 characters plus its zero) does not fit and reads as empty.
inline constexpr int kRegStringBufferSize = 8191;
// Longest string WriteRegString stores: the longest one that can be read back.
inline constexpr int kRegStringMaxWrite = kRegStringBufferSize - 1;

// Any failure (no file, no key, no value, another type, too long) gives the empty string.
std::string ReadRegString(RegistryRoot root, const std::string& subKey,
                          const std::string& valueName);
// Any failure gives defaultValue.
int32_t ReadRegDword(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                     int32_t defaultValue);

// Creates the key when missing. False when the value could not be stored; a string longer
// than kRegStringMaxWrite is refused rather than stored where it could not be read back.
bool WriteRegString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                    const std::string& value);
bool WriteRegDword(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                   int32_t value);
