#include "CCliArchive.h"

#include <iostream>

#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "GameDirectories.h"

CCliArchive::CCliArchive() : m_pDoc(std::make_unique<CORBISTAVDoc>())
{
    m_pDoc->SetMessageSink(this);
    m_pDoc->SetGamePathLookup([](int nGame, int nEdition) { return GetGamePath(nGame, nEdition); });
}

void CCliArchive::ShowMessage(const std::string& text)
{
    std::cerr << "orbistav-cli: " << m_strPath << ": " << text << '\n';
}

bool CCliArchive::Load(const std::string& path)
{
    m_strPath = path;
    Result error;
    switch (m_pDoc->OnOpenDocument(path, &error))
    {
    case CORBISTAVDoc::OpenResult::OpenFailed:
        std::cerr << "orbistav-cli: " << error.Text() << '\n';
        return false;
    case CORBISTAVDoc::OpenResult::Empty:
        std::cerr << "orbistav-cli: " << path << ": the file is empty\n";
        return false;
    case CORBISTAVDoc::OpenResult::Unsupported:
        return false; // the document said why
    case CORBISTAVDoc::OpenResult::Read:
        break;
    }
    if (!m_pDoc->IsReadComplete())
        std::cerr << "orbistav-cli: warning: " << path
                  << " was read only in part: " << m_pDoc->GetReadWarning() << '\n';
    return true;
}

Result CCliArchive::ReadContent(int nFile, CInputFile& input,
                                std::vector<std::uint8_t>& content) const
{
    if (Result r = input.Open(m_pDoc->GetPathName()); !r)
        return r;
    return ReadEntryContent(input, m_pDoc->m_files[nFile],
                            CEntryExtractor::ArchivePathOf(*m_pDoc, nFile), content,
                            CEntryReader::ModeFor(*m_pDoc, false));
}
