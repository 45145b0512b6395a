#include "CEntryContentInput.h"

#include <algorithm>
#include <cstring>

#include "IByteSource.h"

CEntryContentInput::CEntryContentInput(std::shared_ptr<IByteSource> archive,
                                       const ArchiveFile& file, std::string label)
    : m_archive(std::move(archive)), m_reader(*m_archive), m_file(file),
      m_strLabel(std::move(label))
{
}

Result CEntryContentInput::Read(std::span<unsigned char> buffer, std::size_t& nRead)
{
    nRead = 0;
    if (!m_bOpen)
    {
        if (Result r = m_reader.Open(m_file, m_strLabel); !r)
            return r;
        m_bOpen = true;
    }
    while (nRead < buffer.size())
    {
        if (m_piece.empty())
        {
            if (Result r = m_reader.Next(m_piece); !r)
                return r;
            if (m_piece.empty())
                break;
        }
        const std::size_t n = std::min(m_piece.size(), buffer.size() - nRead);
        std::memcpy(buffer.data() + nRead, m_piece.data(), n);
        nRead += n;
        m_piece = m_piece.subspan(n);
    }
    return Result::Ok();
}
