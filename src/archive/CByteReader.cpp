#include "CByteReader.h"

#include <cstring>

bool CByteReader::ReadInt32(std::int32_t& value)
{
    if (Remaining() < 4)
        return false;
    const unsigned char* p = m_bytes.data() + m_nPos;
    const std::uint32_t u =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    value = static_cast<std::int32_t>(u);
    m_nPos += 4;
    return true;
}

bool CByteReader::ReadUInt16(std::uint16_t& value)
{
    if (Remaining() < 2)
        return false;
    const unsigned char* p = m_bytes.data() + m_nPos;
    value = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    m_nPos += 2;
    return true;
}

bool CByteReader::ReadUInt8(std::uint8_t& value)
{
    if (Remaining() < 1)
        return false;
    value = m_bytes[m_nPos++];
    return true;
}

bool CByteReader::ReadFixedName(std::size_t nWidth, std::string& value)
{
    if (Remaining() < nWidth)
        return false;
    const char* p = reinterpret_cast<const char*>(m_bytes.data() + m_nPos);
    const void* nul = std::memchr(p, 0, nWidth);
    const std::size_t len =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p) : nWidth;
    value.assign(p, len);
    m_nPos += nWidth;
    return true;
}

bool CByteReader::Skip(std::size_t nCount)
{
    if (Remaining() < nCount)
        return false;
    m_nPos += nCount;
    return true;
}
