#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Bounds-checked little-endian decoding over a byte span. Reading past the end
// returns false and leaves the position where it was.
class CByteReader
{
public:
    explicit CByteReader(std::span<const unsigned char> bytes) : m_bytes(bytes) {}

    bool ReadInt32(std::int32_t& value);
    bool ReadUInt16(std::uint16_t& value);
    bool ReadUInt8(std::uint8_t& value);
    // A NUL-padded field of nWidth bytes; a field without NUL is taken whole.
    bool ReadFixedName(std::size_t nWidth, std::string& value);
    bool Skip(std::size_t nCount);

    std::size_t Position() const { return m_nPos; }
    std::size_t Remaining() const { return m_bytes.size() - m_nPos; }

private:
    std::span<const unsigned char> m_bytes;
    std::size_t m_nPos = 0;
};
