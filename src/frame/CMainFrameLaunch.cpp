// CMainFrame: handing entries and the archive to other programs.
#include "CMainFrame.h"

#include <QStandardPaths>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "GameDirectories.h"
#include "IPlatformServices.h"
#include "LegacyConfiguration.h"
#include "LegacyDriveMapping.h"
#include "PathOperations.h"
#include "Settings.h"
#include "TextEncoding.h"

void CMainFrame::OnOpenSelected()
{
    if (m_pEdit)
        return OpenEditSelection();
    if (m_pGame)
        return OpenGameSelection();
    if (m_doc.m_nArchiveKind == ARCHIVE_KIND_NONE)
        return;
    if (m_settings.m_bAutoStopPreview)
        m_pPreview->StopPreview(true);
    const std::string temp = GetTempDirectory();
    if (ExtractSelection(temp, false) < 0)
        return;

    const std::vector<int> rows = m_pList->SelectedRows();
    if (rows.empty())
        return;
    const auto r = static_cast<std::size_t>(rows.front());
    if (m_pList->m_aRowIsFolder[r])
    {
        m_platform.MessageBox(
            this, tr("This is a folder. You can only open files in external applications."),
            tr("Selection Error"), IPlatformServices::MessageIcon::None);
        return;
    }
    const int nFile = m_pList->m_aRowIndex[r];
    if (nFile < 0 || nFile >= m_doc.m_nFileCount)
        return;
    const std::string path =
        EnsureTrailingBackslash(temp) + Cp1252ToUtf8(m_doc.m_files[nFile].strName);
    m_platform.OpenDocument(QString::fromStdString(path), QString::fromStdString(temp));
}

void CMainFrame::StartTool(const std::string& program, bool bWithArchive, bool bMaximized)
{
    if (program.empty())
        return;
    const QString path = QString::fromStdString(program);
    if (path.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
    {
        // The old suite's programs are Windows programs: they run through Wine, whose
        // "start" opens them as the shell did, with the show mode, and which wants
        // their paths in Windows form.
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return;
        QStringList arguments{QStringLiteral("start")};
        if (bMaximized)
            arguments << QStringLiteral("/max");
        arguments << QString::fromStdString(ToLegacyPath(program));
        if (bWithArchive)
            arguments << QString::fromStdString(ToLegacyPath(m_doc.GetPathName()));
        m_platform.StartProgram(wine, arguments, QString(), bMaximized);
        return;
    }
    QStringList arguments;
    if (bWithArchive)
        arguments << QString::fromStdString(m_doc.GetPathName());
    m_platform.StartProgram(path, arguments, QString(), bMaximized);
}

void CMainFrame::OnTutorial()
{
    // Looked up again: it may have moved since the program started.
    StartTool(FindLegacyModule("NAVPRIMER"), false, true);
}
