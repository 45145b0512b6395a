// CMainFrame: archives dropped onto the window, files dragged out of the list.
#include "CMainFrame.h"

#include <unordered_set>

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "GameDirectories.h"
#include "IPlatformServices.h"

namespace
{
// The first dropped URL when it is a local file or folder (a game folder); else empty.
QString DroppedArchive(const QDropEvent& event, const QWidget& frame)
{
    // A drag out of the list carries extracted entries, never an archive to open.
    const auto* pSource = qobject_cast<const QWidget*>(event.source());
    if (pSource && (pSource == &frame || frame.isAncestorOf(pSource)))
        return {};
    if (!(event.possibleActions() & Qt::CopyAction) || !event.mimeData())
        return {};
    const QList<QUrl> urls = event.mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return {};
    return urls.front().toLocalFile();
}
} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (DroppedArchive(*pEvent, *this).isEmpty())
    {
        pEvent->ignore();
        return;
    }
    // Accepting a proposed move would let the file manager delete the archive.
    pEvent->setDropAction(Qt::CopyAction);
    pEvent->accept();
}

void CMainFrame::dropEvent(QDropEvent* pEvent)
{
    const QString path = DroppedArchive(*pEvent, *this);
    if (path.isEmpty())
    {
        pEvent->ignore();
        return;
    }
    pEvent->setDropAction(Qt::CopyAction);
    pEvent->accept();
    // The file manager waits until the drop returns; a message about a broken archive
    // must not hold it.
    QMetaObject::invokeMethod(
        this, [this, path] { OpenArchive(path); }, Qt::QueuedConnection);
}

std::vector<std::string> CMainFrame::ExtractSelectionForDrag()
{
    // Made once and kept until the window goes: an editor the files were dropped into
    // may read them long after the drag; a cleaner may have removed it meanwhile.
    if (!m_pDragDir || !QFileInfo(m_pDragDir->path()).isDir())
    {
        const QString base = QDir(QString::fromStdString(GetTempDirectory())).absolutePath();
        auto pDir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/orbistav-drag-XXXXXX"));
        if (!pDir->isValid())
        {
            m_platform.MessageBox(
                this,
                tr("The files cannot be handed over.\n\n%1: %2").arg(base, pDir->errorString()));
            return {};
        }
        m_pDragDir = std::move(pDir);
    }

    // The user dragged files to a place of their choosing; the status bar naming the
    // program's own folder would mislead.
    const QString shown = MessageText();
    std::vector<std::string> written;
    const int nWritten = ExtractSelection(m_pDragDir->path().toStdString(), false, &written);
    SetMessageText(shown);
    if (nWritten <= 0)
        return {};

    // Two selected entries of one name are one file on disk: hand it over once.
    std::unordered_set<std::string> seen;
    std::vector<std::string> files;
    for (std::string& path : written)
        if (seen.insert(path).second)
            files.push_back(std::move(path));
    return files;
}
