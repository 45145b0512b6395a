#include "FileListFormat.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

std::string FormatFileSize(std::int64_t nSize, bool bAsKB)
{
    char buffer[32];
    if (bAsKB)
        std::snprintf(buffer, sizeof buffer, "%lld kB",
                      static_cast<long long>(std::max<std::int64_t>(nSize, 1024) / 1024));
    else
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(nSize));
    return buffer;
}

std::string FormatFileTime(std::int32_t tTime)
{
    if (tTime == 0)
        return {};
    const std::time_t t = tTime;
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return {};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%i/%i/%i %02i:%02i:%02i", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return buffer;
}
