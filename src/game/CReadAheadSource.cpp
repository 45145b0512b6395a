#include "CReadAheadSource.h"

#include <cstring>

CReadAheadSource::CReadAheadSource(IByteSource& inner, std::size_t nWindow)
    : m_inner(inner), m_window(nWindow)
{
}

std::int64_t CReadAheadSource::ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount)
{
    if (nOffset < 0 || nCount > m_window.size() / 4)
        return m_inner.ReadAt(nOffset, pBuffer, nCount);
    const bool bInside = m_nStart >= 0 && nOffset >= m_nStart &&
                         nOffset + static_cast<std::int64_t>(nCount) <=
                             m_nStart + static_cast<std::int64_t>(m_nFilled);
    if (!bInside)
    {
        const std::int64_t nRead = m_inner.ReadAt(nOffset, m_window.data(), m_window.size());
        if (nRead < 0)
        {
            m_nStart = -1;
            return -1;
        }
        m_nStart = nOffset;
        m_nFilled = static_cast<std::size_t>(nRead);
    }
    const std::size_t nAt = static_cast<std::size_t>(nOffset - m_nStart);
    const std::size_t nGiven = nAt >= m_nFilled ? 0 : std::min(nCount, m_nFilled - nAt);
    std::memcpy(pBuffer, m_window.data() + nAt, nGiven);
    return static_cast<std::int64_t>(nGiven);
}
