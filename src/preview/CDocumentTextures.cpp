#include "CDocumentTextures.h"

#include "AsciiText.h"
#include "CORBISTAVDoc.h"

bool CDocumentTextures::Find(std::string_view fileName, EntrySource& found)
{
    // One pass over the archive's files, so a model's list of many names costs no more than
    // reading it.
    if (!m_bIndexed)
    {
        m_bIndexed = true;
        for (int i = 0; i < m_doc.m_nFileCount; ++i)
            m_entries.emplace(ToLowerAscii(m_doc.m_files[i].strName), i);
    }
    const auto it = m_entries.find(ToLowerAscii(fileName));
    if (it == m_entries.end())
        return false;
    found = EntrySource::FromDocument(m_doc, m_doc.m_files[it->second]);
    return true;
}

void CDocumentTextures::Reset()
{
    m_entries.clear();
    m_bIndexed = false;
}
