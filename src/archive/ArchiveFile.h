#pragma once

#include <cstdint>
#include <string>

// One file record of the archive document.
struct ArchiveFile
{
    std::int32_t nOffset = 0;
    std::int32_t nSize = 0;
    std::string strName; // bytes as stored in the archive (Windows-1252)
    std::int32_t tTime = 0;
    std::int32_t nDir = 0;
    std::int32_t nType = 0;
};
