#pragma once

#include <cstdint>
#include <string>

// The file list's texts for a size and a time, shared by the list view and the CLI.
std::string FormatFileSize(std::int64_t nSize, bool bAsKB);
// "10/1/2001 08:05:09" in local time; empty for 0 or a time the platform cannot convert.
std::string FormatFileTime(std::int32_t tTime);
