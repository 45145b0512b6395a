#pragma once

#include <cstdint>
#include <vector>

// The writing side of CByteReader: archive headers, directories and trailers are
// little-endian 32-bit fields appended one after another. Values are cut to 32 bits.
inline void AppendInt32(std::vector<unsigned char>& bytes, std::int64_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>(v >> shift));
}
