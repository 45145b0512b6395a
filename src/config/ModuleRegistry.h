#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kModuleRegistryPath = "\\Vantorel Tools\\";

// The number after the first "Build " (with its space) of a version text, trailing blanks
// and ")" ignored, read as atoi reads; 0 without the marker.
int32_t ParseBuildNumber(const std::string& versionText);

// Records this program under "\Vantorel Tools\" + module id: "Path", "EXE", "EXEName",
// "Version", "Build", "Date", "Coder", in that order.
void RegisterModule();

// Another tool's executable: the registered "EXE" when that file exists, else the legacy
// module file's directory and program for legacyKey when that file exists; else empty.
// An empty moduleId skips the registry, an empty legacyKey the legacy file.
std::string FindModuleExecutable(const std::string& moduleId, const std::string& legacyKey);
