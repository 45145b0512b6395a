#include "CMemorySource.h"

#include <algorithm>
#include <cstring>

std::int64_t CMemorySource::ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount)
{
    const auto size = static_cast<std::int64_t>(m_bytes.size());
    if (nOffset < 0)
        return -1;
    if (nOffset >= size || nCount == 0)
        return 0;
    const auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(size - nOffset, static_cast<std::int64_t>(nCount)));
    std::memcpy(pBuffer, m_bytes.data() + nOffset, n);
    return static_cast<std::int64_t>(n);
}
