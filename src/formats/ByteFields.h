#pragma once

#include <cstdint>

#include "CByteReader.h"

// An unsigned 32-bit field: the counts and sizes of the newer formats are stored unsigned.
inline bool ReadUInt32(CByteReader& reader, std::uint32_t& value)
{
    std::int32_t n = 0;
    if (!reader.ReadInt32(n))
        return false;
    value = static_cast<std::uint32_t>(n);
    return true;
}
