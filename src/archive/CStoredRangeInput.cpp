#include "CStoredRangeInput.h"

#include <algorithm>

#include "CInputFile.h"

CStoredRangeInput::CStoredRangeInput(std::shared_ptr<CInputFile> archive, std::int64_t nOffset,
                                     std::int64_t nSize, std::string label)
    : m_archive(std::move(archive)), m_nOffset(nOffset), m_nSize(nSize),
      m_strLabel(std::move(label))
{
}

Result CStoredRangeInput::Read(std::span<unsigned char> buffer, std::size_t& nRead)
{
    nRead = static_cast<std::size_t>(
        std::min<std::int64_t>(m_nSize - m_nDone, static_cast<std::int64_t>(buffer.size())));
    if (nRead > 0 &&
        m_archive->ReadAt(m_nOffset + m_nDone, buffer.data(), nRead) != static_cast<std::int64_t>(nRead))
    {
        nRead = 0;
        return Result::Fail(m_strLabel + ": the bytes could not all be read");
    }
    m_nDone += static_cast<std::int64_t>(nRead);
    return Result::Ok();
}

Result CStoredRangeInput::OpenRange(int& fd, std::int64_t& nOffset)
{
    fd = m_archive->Fd();
    nOffset = m_nOffset;
    return Result::Ok();
}
