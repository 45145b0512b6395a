#include "CORBISTAVDoc.h"

#include <filesystem>

#include "AsciiText.h"
#include "CInputFile.h"
#include "IDocumentObserver.h"
#include "IMessageSink.h"

namespace
{
std::string FileNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

CORBISTAVDoc::CORBISTAVDoc()
    : m_dirs(new ArchiveDir[MAX_DIRS]), m_files(new ArchiveFile[MAX_FILES])
{
}

CORBISTAVDoc::~CORBISTAVDoc() = default;

CORBISTAVDoc::OpenResult CORBISTAVDoc::OnOpenDocument(const std::string& path, Result* pError)
{
    CInputFile file;
    if (Result r = file.Open(path); !r)
    {
        if (pError)
            *pError = r;
        return OpenResult::OpenFailed;
    }
    if (file.Size() == 0)
        return OpenResult::Empty;

    std::error_code ec;
    std::string fullPath = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec)
        fullPath = path;
    if (!Serialize(file, fullPath))
        return OpenResult::Unsupported;
    return OpenResult::Read;
}

int CORBISTAVDoc::KindOfName(const std::string& path)
{
    // Every name that holds ".VPP" holds ".VP" too, so ".VPP" is asked first.
    const std::string upper = ToUpperAscii(FileNameOf(path));
    if (upper.find(".VPP") != std::string::npos)
        return ARCHIVE_KIND_VPP;
    return upper.find(".VP") != std::string::npos ? ARCHIVE_KIND_VP : ARCHIVE_KIND_NONE;
}

bool CORBISTAVDoc::Serialize(IByteSource& file, const std::string& path)
{
    const int nKind = KindOfName(path);
    if (nKind == ARCHIVE_KIND_VPP)
        ReadVpp(file);
    else if (nKind == ARCHIVE_KIND_VP)
        ReadVp(file, path);
    else
    {
        // The tables stay those of the previous archive, and so does the path they
        // belong to: data is never read from a file with another file's offsets.
        if (m_pMessageSink)
            m_pMessageSink->ShowMessage("Unsupported file extension.");
        return false;
    }
    m_strPathName = path;
    return true;
}

void CORBISTAVDoc::ResetDir(int nDir)
{
    ArchiveDir& dir = m_dirs[nDir];
    dir.nParent = -1;
    dir.nChildren = 0;
    dir.nFiles = 0;
    dir.aFiles.clear();
    dir.strName.clear();
}

std::string CORBISTAVDoc::GetDirPath(int nDir) const
{
    std::string path;
    // Parents always have smaller indices, so the walk ends; the bound is a second guard.
    for (int guard = 0; nDir >= 0 && nDir < m_nDirCount && guard < MAX_DIRS; ++guard)
    {
        const ArchiveDir& dir = m_dirs[nDir];
        if (!dir.strName.empty())
            path.insert(0, "\\" + dir.strName);
        nDir = dir.nParent;
    }
    return path;
}

std::int64_t CORBISTAVDoc::Align2048(std::int64_t n)
{
    return (n + 2047) / 2048 * 2048;
}

void CORBISTAVDoc::BeginRead()
{
    if (m_pObserver)
        m_pObserver->OnBeforeRead();
    m_nDirCount = 0;
    m_nFileCount = 0;
    m_strGameDir.clear();
    m_strReadWarning.clear();
}

void CORBISTAVDoc::EndRead()
{
    if (m_pObserver)
        m_pObserver->OnAfterRead();
}

void CORBISTAVDoc::AddWarning(const std::string& text)
{
    if (!m_strReadWarning.empty())
        m_strReadWarning += ' ';
    m_strReadWarning += text;
}

void CORBISTAVDoc::FindGameDir(const std::string& path)
{
    if (!m_gamePathLookup)
        return;
    const std::string lowerPath = ToLowerAscii(path);
    // FreeSpace 2 is tested last, so it wins when both match.
    for (const int nGame : {1, 2})
    {
        const std::string dir = m_gamePathLookup(nGame, 0);
        if (!dir.empty() && lowerPath.compare(0, dir.size(), ToLowerAscii(dir)) == 0)
            m_strGameDir = dir;
    }
}
