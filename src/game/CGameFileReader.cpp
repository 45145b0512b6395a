#include "CGameFileReader.h"

#include <limits>

#include "ArchiveFile.h"
#include "CGameFolder.h"

CGameFileReader::CGameFileReader(const CGameFolder& folder) : m_folder(folder), m_reader(m_readAhead) {}

Result CGameFileReader::Open(int nFile)
{
    return OpenAs(nFile, m_folder.Location(nFile));
}

bool CGameFileReader::ContentSizeOf(int nFile, std::int64_t& nSize)
{
    static const std::string kNoLabel;
    if (!OpenAs(nFile, kNoLabel))
        return false;
    nSize = m_reader.ContentSize();
    return true;
}

Result CGameFileReader::OpenAs(int nFile, const std::string& label)
{
    const GameFile& file = m_folder.Files()[nFile];
    const GameSource& source = m_folder.Sources()[file.nSource];
    ArchiveFile entry;
    if (source.bArchive)
    {
        if (m_nOpenSource != file.nSource || !m_input.IsOpen())
        {
            m_nOpenSource = -1;
            m_readAhead.Forget();
            if (Result r = m_input.Open(m_folder.SourceDiskPath(file.nSource)); !r)
                return r;
            m_nOpenSource = file.nSource;
        }
        entry.nOffset = static_cast<std::int32_t>(file.nOffset);
        entry.nSize = static_cast<std::int32_t>(file.nSize);
        m_reader.SetMode(CEntryReader::Mode::Content);
    }
    else
    {
        m_nOpenSource = -1;
        m_readAhead.Forget();
        const std::string path = m_folder.SourceDiskPath(file.nSource) + "/" + m_folder.PathInSource(nFile);
        if (Result r = m_input.Open(path); !r)
            return r;
        // The size now, not when the folder was read: modders edit loose files as they look.
        if (m_input.Size() > std::numeric_limits<std::int32_t>::max())
            return Result::Fail(label + ": too large to read (" +
                                std::to_string(m_input.Size()) + " bytes)");
        entry.nSize = static_cast<std::int32_t>(m_input.Size());
        m_reader.SetMode(file.bLz41 ? CEntryReader::Mode::Content : CEntryReader::Mode::Stored);
    }
    return m_reader.Open(entry, label);
}
