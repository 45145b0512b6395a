// CMainFrame: writing the selected entries to disk.
#include "CMainFrame.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include <QLoggingCategory>

#include "ArchiveTextQt.h"
#include "CDestinationDir.h"
#include "CEntryExtractor.h"
#include "CExtractProgressDlg.h"
#include "CFolderPicker.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "IPlatformServices.h"
#include "TextEncoding.h"

namespace
{
Q_LOGGING_CATEGORY(lcExtraction, "orbistav.extraction", QtWarningMsg)

// Smaller selections are written without a progress window.
constexpr std::int64_t kProgressThreshold = 500000;
} // namespace

void CMainFrame::OnExtractToDir()
{
    if (m_doc.m_nArchiveKind == ARCHIVE_KIND_NONE && !m_pGame)
        return;
    CFolderPicker picker(m_platform, tr("Select destination folder"), QStringLiteral("/"), this);
    if (picker.DoModal() == CFolderPicker::IDOK)
        ExtractSelection(picker.GetFolder().toStdString(), false);
}

void CMainFrame::OnExtractToGameDir()
{
    if (m_doc.m_nArchiveKind == ARCHIVE_KIND_NONE)
        return;
    ExtractSelection(m_doc.m_strGameDir, true);
}

int CMainFrame::ExtractSelection(const std::string& destination, bool bKeepDirectories,
                                 std::vector<std::string>* pWritten)
{
    // A game folder's files are written flat, by the names the game knows them by.
    if (m_pGame)
        return ExtractGameSelection(destination, pWritten);
    if (m_doc.m_nArchiveKind == ARCHIVE_KIND_NONE)
        return 0;

    if (m_pEdit)
        return ExtractEditSelection(destination, bKeepDirectories, pWritten);
    std::vector<int> files;
    std::int64_t nTotal = 0; // 16384 entries of up to 2 GiB each
    for (const int nRow : m_pList->SelectedRows())
    {
        const auto r = static_cast<std::size_t>(nRow);
        const int nFile = m_pList->m_aRowIndex[r];
        if (m_pList->m_aRowIsFolder[r] || nFile < 0 || nFile >= m_doc.m_nFileCount)
            continue;
        files.push_back(nFile);
        nTotal += std::max(0, m_doc.m_files[nFile].nSize);
    }

    std::unique_ptr<CExtractProgressDlg> pProgress;
    if (nTotal > kProgressThreshold)
    {
        pProgress = std::make_unique<CExtractProgressDlg>(this);
        pProgress->Start(static_cast<int>(files.size()), nTotal);
    }

    // Opened with the first file, so that a failure to open either is that file's.
    CInputFile archive;
    std::optional<CEntryExtractor> extractor;
    std::int64_t nPosition = 0;
    for (const int nFile : files)
    {
        const ArchiveFile& file = m_doc.m_files[nFile];
        if (pProgress)
            pProgress->SetFile(FromArchiveText(file.strName), nPosition);

        Result result;
        if (!extractor)
        {
            CDestinationDir dir;
            result = archive.Open(m_doc.GetPathName());
            if (result)
                result = CDestinationDir::Open(destination, dir);
            if (result)
                extractor.emplace(m_doc, archive, std::move(dir),
                                  bKeepDirectories ? CEntryExtractor::Layout::ExistingDirectories
                                                   : CEntryExtractor::Layout::Flat);
        }
        if (result)
            result = ExtractEntry(nFile, *extractor, pWritten);
        if (!result)
        {
            pProgress.reset();
            m_platform.MessageBox(
                this, tr("Extraction stopped at %1.\n\n%2")
                          .arg(QString::fromStdString(CEntryExtractor::ArchivePathOf(m_doc, nFile)),
                               QString::fromStdString(result.Text())));
            return -1;
        }
        nPosition += std::max(0, file.nSize);
    }

    pProgress.reset();
    SetMessageText(
        tr("%1 files extracted to %2").arg(files.size()).arg(QString::fromStdString(destination)));
    return static_cast<int>(files.size());
}

Result CMainFrame::ExtractEntry(int nFile, CEntryExtractor& extractor,
                                std::vector<std::string>* pWritten)
{
    qCDebug(lcExtraction, "%s", m_doc.GetPathName().c_str());
    std::string path;
    const Result result = extractor.Extract(nFile, &path);
    if (result && pWritten)
        pWritten->push_back(std::move(path));
    return result;
}
