#include "CRecordStream.h"

#include "IByteSource.h"

namespace
{
constexpr std::size_t RECORDS_PER_BLOCK = 1024;
}

CRecordStream::CRecordStream(IByteSource& source, std::int64_t nOffset, std::size_t nRecordSize)
    : m_source(source), m_nOffset(nOffset), m_nRecordSize(nRecordSize)
{
}

bool CRecordStream::Fill()
{
    if (m_buffer.empty())
        m_buffer.resize(m_nRecordSize * RECORDS_PER_BLOCK);
    const std::int64_t n = m_source.ReadAt(m_nOffset, m_buffer.data(), m_buffer.size());
    if (n <= 0)
        return false;
    m_nOffset += n;
    m_nPos = 0;
    m_nEnd = static_cast<std::size_t>(n);
    return true;
}

bool CRecordStream::Next(CByteReader& record)
{
    if (m_nEnd - m_nPos < m_nRecordSize)
    {
        // A partial record at the end of a block: read again from its start.
        m_nOffset -= static_cast<std::int64_t>(m_nEnd - m_nPos);
        if (!Fill() || m_nEnd < m_nRecordSize)
            return false;
    }
    record = CByteReader(std::span<const unsigned char>(m_buffer.data() + m_nPos, m_nRecordSize));
    m_nPos += m_nRecordSize;
    return true;
}
