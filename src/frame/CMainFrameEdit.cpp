// CMainFrame: editing the open archive, saving it, and new archives. The archive opens
// read-only; the first edit opens an edit list over it, and the views show that list until
// the archive is saved and read again, or the edits are discarded.
#include "CMainFrame.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "ArchiveTextQt.h"
#include "AsciiText.h"
#include "CArchiveEditList.h"
#include "CAutoPreview.h"
#include "CCommandTable.h"
#include "CDestinationDir.h"
#include "CEditListModel.h"
#include "CEntryExtractor.h"
#include "CLeftView.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "CSaveProgressDlg.h"
#include "EntrySource.h"
#include "FileIo.h"
#include "FileTypes.h"
#include "GameDirectories.h"
#include "IPlatformServices.h"
#include "Settings.h"
#include "TextEncoding.h"

namespace
{
const QString kSaveFilter = QStringLiteral(
    "FreeSpace VP file (*.vp)|*.vp|FreeSpace VP file, compressed (*.vpc)|*.vpc|Red Faction "
    "packfile (*.vpp)|*.vpp||");

// The edit list's texts name disk files in UTF-8 and entries in Windows-1252.
QString FromEditText(const std::string& text)
{
    const QString utf8 = QString::fromUtf8(text);
    return utf8.contains(QChar::ReplacementCharacter) ? FromArchiveText(text) : utf8;
}

// A stored file's path as the edit list names it. A packfile's directories are the types the
// list groups its files by, not part of any path.
std::string DocFilePath(const CORBISTAVDoc& doc, int nFile)
{
    const ArchiveFile& file = doc.m_files[nFile];
    return (doc.m_nArchiveKind == ARCHIVE_KIND_VPP ? std::string() : doc.GetDirPath(file.nDir)) +
           "\\" + file.strName;
}

std::string LastPart(const std::string& path)
{
    const std::size_t nSlash = path.rfind('\\');
    return nSlash == std::string::npos ? path : path.substr(nSlash + 1);
}
} // namespace

void CMainFrame::CreateEditCommands()
{
    CCommandTable& t = *m_pCommands;
    auto canEdit = [this] { return CanEdit(); };
    auto selected = [this] { return CanEdit() && !m_pList->SelectedRows().empty(); };

    t.Add(
        ID_FILE_NEW_ARCHIVE, tr("&New Archive..."),
        tr("Make a new, empty .VP or .VPP archive to fill\nNew Archive"),
        [this] { return !m_pGame; }, [this] { OnNewArchive(); },
        QKeySequence(Qt::CTRL | Qt::Key_N));
    t.Add(
        ID_FILE_SAVE, tr("&Save"), tr("Write the pending changes into the archive\nSave"),
        [this] { return m_pEdit && m_pEdit->IsModified(); }, [this] { OnSave(); },
        QKeySequence(Qt::CTRL | Qt::Key_S));
    t.Add(
        ID_FILE_SAVE_AS, tr("Save &As..."),
        tr("Write the archive with its changes to another file: .vp, .vpc compressed or "
           ".vpp\nSave As"),
        canEdit, [this] { OnSaveAs(); }, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    t.Add(
        ID_EDIT_UNDO, tr("&Undo"), tr("Take back the last change\nUndo"),
        [this] { return CanEdit() && m_pEdit && m_pEdit->CanUndo(); },
        [this]
        {
            m_pEdit->Undo();
            RefreshEditViews();
        },
        QKeySequence(Qt::CTRL | Qt::Key_Z));
    t.Add(
        ID_EDIT_REDO, tr("&Redo"), tr("Make the change taken back again\nRedo"),
        [this] { return CanEdit() && m_pEdit && m_pEdit->CanRedo(); },
        [this]
        {
            m_pEdit->Redo();
            RefreshEditViews();
        });
    t.Action(ID_EDIT_REDO)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    t.Add(
        ID_EDIT_ADD_FILES, tr("Add &Files..."),
        tr("Add files to the directory shown; files of the same name are replaced\nAdd Files"),
        canEdit, [this] { OnAddFiles(); }, QKeySequence(Qt::Key_Insert));
    t.Add(ID_EDIT_ADD_FOLDER, tr("Add F&older..."),
          tr("Add a folder with everything in it to the directory shown\nAdd Folder"), canEdit,
          [this] { OnAddFolder(); });
    t.Add(
        ID_EDIT_NEW_FOLDER, tr("New Fol&der..."),
        tr("Make a new directory in the directory shown\nNew Folder"),
        [this] { return CanEdit() && EditsVp(); }, [this] { OnNewFolder(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    t.Add(
        ID_EDIT_RENAME, tr("Re&name..."), tr("Rename the selected file or directory\nRename"),
        [this] { return CanEdit() && m_pList->HasSingleSelectedRow(); }, [this] { OnRename(); },
        QKeySequence(Qt::CTRL | Qt::Key_R));
    t.Add(
        ID_EDIT_DELETE, tr("&Delete"), tr("Delete the selected files and directories\nDelete"),
        selected, [this] { OnDelete(); }, QKeySequence(Qt::Key_Delete));
    // Del in the tree or the filter field is no request to delete the rows selected.
    t.Action(ID_EDIT_DELETE)->setShortcutContext(Qt::WidgetShortcut);
    m_pList->addAction(t.Action(ID_EDIT_DELETE));
    // The list and the tree take files and folders dropped onto them.
    for (QWidget* pView : {static_cast<QWidget*>(m_pList), static_cast<QWidget*>(m_pTree)})
    {
        auto* pItemView = static_cast<QAbstractItemView*>(pView);
        pItemView->setAcceptDrops(true);
        pItemView->viewport()->setAcceptDrops(true);
        pItemView->viewport()->installEventFilter(this);
    }
}

QMenu* CMainFrame::CreateEditMenu()
{
    QMenu* pMenu = new QMenu(tr("&Edit"), this);
    const int ids[] = {ID_EDIT_UNDO,       ID_EDIT_REDO,       0, ID_EDIT_ADD_FILES,
                       ID_EDIT_ADD_FOLDER, ID_EDIT_NEW_FOLDER, 0, ID_EDIT_RENAME,
                       ID_EDIT_DELETE};
    for (const int nId : ids)
    {
        if (nId == 0)
            pMenu->addSeparator();
        else
            pMenu->addAction(m_pCommands->Action(nId));
    }
    connect(pMenu, &QMenu::aboutToShow, m_pCommands, &CCommandTable::UpdateAll);
    return pMenu;
}

bool CMainFrame::CanEdit() const
{
    return !m_pGame && (m_pEdit || m_doc.m_nArchiveKind != ARCHIVE_KIND_NONE);
}

bool CMainFrame::EditsVp() const
{
    return m_pEdit ? m_pEdit->Format() == ArchiveFormat::Vp
                   : m_doc.m_nArchiveKind == ARCHIVE_KIND_VP;
}

CArchiveEditList* CMainFrame::EditList()
{
    if (m_pEdit)
        return m_pEdit.get();
    if (!CanEdit())
        return nullptr;
    auto pEdit = std::make_unique<CArchiveEditList>();
    if (Result r = pEdit->Open(m_doc.GetPathName()); !r)
    {
        m_platform.MessageBox(
            this,
            tr("This archive cannot be changed.\n\n%1").arg(QString::fromStdString(r.Text())));
        return nullptr;
    }
    // What the tree showed stays shown.
    EditListSelection selection;
    if (m_doc.m_nArchiveKind == ARCHIVE_KIND_VP && m_pTree->m_nSelDir >= 0)
    {
        selection.eKind = EditListSelection::Kind::Directory;
        selection.strDir = m_doc.GetDirPath(m_pTree->m_nSelDir);
    }
    else if (m_doc.m_nArchiveKind == ARCHIVE_KIND_VPP && m_pTree->m_nSelDir > 0 &&
             m_pTree->m_nSelDir < m_doc.m_nDirCount)
    {
        selection.eKind = EditListSelection::Kind::Type;
        selection.nType = m_doc.m_dirs[m_pTree->m_nSelDir].nType;
    }
    const std::vector<std::string> selected = SelectedEditPaths();
    m_pEdit = std::move(pEdit);
    m_pPreview->StopPreview(true);
    m_pList->ShowEditList(m_pEdit.get());
    m_pTree->ShowEditTree(*m_pEdit, selection);
    // The rows selected stay selected, so the edit about to be made finds them.
    for (int r = 0; r < m_pList->RowCount(); ++r)
        if (std::find(selected.begin(), selected.end(), m_pList->EditRows()->Row(r)->Path()) !=
            selected.end())
            m_pList->selectionModel()->select(m_pList->model()->index(r, 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    UpdateEditTitle();
    return m_pEdit.get();
}

bool CMainFrame::ApplyEdit(const Result& result)
{
    if (!result)
        m_platform.MessageBox(this, QString::fromStdString(result.Text()));
    else
        RefreshEditViews();
    return static_cast<bool>(result);
}

void CMainFrame::RefreshEditViews()
{
    if (!m_pEdit)
        return;
    m_pPreview->StopPreview(true);
    m_pList->ShowEditList(m_pEdit.get());
    const EditListSelection shown = m_pList->EditRows()->Selection();
    m_pTree->ShowEditTree(*m_pEdit, shown);
    UpdateEditTitle();
}

void CMainFrame::UpdateEditTitle()
{
    CCommandTable& t = *m_pCommands;
    // "Undo Rename ships.tbl": an & in a name is no mnemonic.
    auto label = [](const QString& command, const std::string& text)
    {
        return command + QLatin1Char(' ') +
               FromEditText(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
    };
    t.Action(ID_EDIT_UNDO)
        ->setText(m_pEdit && m_pEdit->CanUndo() ? label(tr("&Undo"), m_pEdit->UndoText())
                                                : tr("&Undo"));
    t.Action(ID_EDIT_REDO)
        ->setText(m_pEdit && m_pEdit->CanRedo() ? label(tr("&Redo"), m_pEdit->RedoText())
                                                : tr("&Redo"));
    if (!m_pEdit)
        return;
    const QString name = QFileInfo(QString::fromStdString(m_pEdit->Path())).fileName();
    setWindowTitle(QStringLiteral("Vantorel ORBISTAV - %1%2")
                       .arg(name, m_pEdit->IsModified() ? QStringLiteral("*") : QString()));
}

std::string CMainFrame::EditDirectory() const
{
    if (!m_pEdit || !m_pList->EditRows())
        return {};
    const EditListSelection& shown = m_pList->EditRows()->Selection();
    return shown.eKind == EditListSelection::Kind::Directory ? shown.strDir : std::string();
}

std::vector<std::string> CMainFrame::SelectedEditPaths() const
{
    std::vector<std::string> paths;
    for (const int nRow : m_pList->SelectedRows())
    {
        if (m_pList->ShowsEditList())
        {
            if (const EditListRow* pRow = m_pList->EditRows()->Row(nRow))
                paths.push_back(pRow->Path());
            continue;
        }
        // Before the first edit the rows are the document's.
        const auto r = static_cast<std::size_t>(nRow);
        const int nIndex = m_pList->m_aRowIndex[r];
        if (m_pList->m_aRowIsFolder[r] && nIndex > 0 && nIndex < m_doc.m_nDirCount)
            paths.push_back(m_doc.GetDirPath(nIndex));
        else if (!m_pList->m_aRowIsFolder[r] && nIndex >= 0 && nIndex < m_doc.m_nFileCount)
            paths.push_back(DocFilePath(m_doc, nIndex));
    }
    return paths;
}

void CMainFrame::OnAddFiles()
{
    const QStringList files = m_platform.GetOpenFileNames(this, tr("Add files"));
    if (!files.isEmpty() && EditList())
        AddDiskPaths(EditDirectory(), files);
}

void CMainFrame::OnAddFolder()
{
    const QString folder =
        m_platform.PickFolder(this, tr("Select the folder to add"), QDir::homePath());
    if (!folder.isEmpty() && EditList())
        AddDiskPaths(EditDirectory(), {folder});
}

void CMainFrame::AddDiskPaths(const std::string& dir, const QStringList& paths)
{
    if (!EditList())
        return;
    // Files that would replace entries are named first: the user may keep the entries.
    std::vector<std::string> all;
    std::vector<std::string> fresh;
    QStringList clashes;
    for (const QString& path : paths)
    {
        const std::string diskPath = QFileInfo(path).absoluteFilePath().toStdString();
        all.push_back(diskPath);
        std::string name;
        const bool bNamed = Utf8ToCp1252(QFileInfo(path).fileName().toStdString(), name);
        if (bNamed && QFileInfo(path).isFile() &&
            m_pEdit->IsFile((m_pEdit->Format() == ArchiveFormat::Vpp ? std::string() : dir) + "\\" +
                            name))
            clashes << QFileInfo(path).fileName();
        else
            fresh.push_back(diskPath);
    }
    if (!clashes.isEmpty())
    {
        const QString where = dir.empty() ? tr("the archive") : FromArchiveText(dir);
        const auto answer = m_platform.Ask(
            this,
            tr("%1 already holds:\n\n%2\n\nReplace them with the files added? No adds only the "
               "other files.")
                .arg(where, clashes.join(QLatin1Char('\n'))),
            false, true);
        if (answer == IPlatformServices::Answer::Cancel)
            return;
        if (answer == IPlatformServices::Answer::No)
            all = fresh;
    }
    if (!all.empty())
        ApplyEdit(m_pEdit->AddPaths(dir, all));
}

void CMainFrame::OnNewFolder()
{
    const std::optional<QString> name =
        m_platform.AskText(this, tr("Name of the new directory:"), tr("new folder"));
    if (!name || !EditList())
        return;
    std::string bytes;
    if (!Utf8ToCp1252(name->toStdString(), bytes))
        return m_platform.MessageBox(
            this, tr("%1: the name holds a character an archive cannot store").arg(*name));
    const std::string parent = EditDirectory();
    if (ApplyEdit(m_pEdit->MakeDirectory(parent, bytes)))
    {
        // The new directory is where files go next.
        EditListSelection selection;
        selection.eKind = EditListSelection::Kind::Directory;
        selection.strDir = parent + "\\" + bytes;
        m_pTree->ShowEditTree(*m_pEdit, selection);
    }
}

void CMainFrame::OnRename()
{
    const std::vector<std::string> paths = SelectedEditPaths();
    if (paths.size() != 1 || !EditList())
        return;
    const QString old = FromArchiveText(LastPart(paths.front()));
    const std::optional<QString> name = m_platform.AskText(this, tr("New name:"), old);
    if (!name || *name == old)
        return;
    std::string bytes;
    if (!Utf8ToCp1252(name->toStdString(), bytes))
        return m_platform.MessageBox(
            this, tr("%1: the name holds a character an archive cannot store").arg(*name));
    ApplyEdit(m_pEdit->Rename(paths.front(), bytes));
}

void CMainFrame::OnDelete()
{
    const std::vector<std::string> paths = SelectedEditPaths();
    if (!paths.empty() && EditList())
        ApplyEdit(m_pEdit->Remove(paths));
}

void CMainFrame::OnNewArchive()
{
    if (!SaveModified())
        return;
    const QString path =
        m_platform.GetSaveFileName(this, tr("New archive"), QDir::homePath(), kSaveFilter);
    if (path.isEmpty())
        return;
    auto pEdit = std::make_unique<CArchiveEditList>();
    if (Result r = pEdit->New(QFileInfo(path).absoluteFilePath().toStdString()); !r)
        return m_platform.MessageBox(this, QString::fromStdString(r.Text()));
    m_pPreview->StopPreview(true);
    m_pEdit = std::move(pEdit);
    m_pList->ShowEditList(m_pEdit.get());
    EditListSelection all;
    m_pTree->ShowEditTree(*m_pEdit, all);
    UpdateEditTitle();
    SetMessageText(tr("Add files and folders, then save"));
}

bool CMainFrame::OnSave()
{
    // A copy: the edit list goes once saved.
    const std::string path = m_pEdit ? m_pEdit->Path() : std::string();
    return m_pEdit && SaveEditsTo(path);
}

bool CMainFrame::OnSaveAs()
{
    if (!EditList())
        return false;
    const QString path = m_platform.GetSaveFileName(
        this, tr("Save archive as"), QString::fromStdString(m_pEdit->Path()), kSaveFilter);
    return !path.isEmpty() && SaveEditsTo(QFileInfo(path).absoluteFilePath().toStdString());
}

bool CMainFrame::SaveEditsTo(const std::string& path)
{
    m_pPreview->StopPreview(true);
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    Result result;
    bool bCancelled = false;
    {
        CSaveProgressDlg progress(this, tr("Saving %1").arg(name));
        SaveOptions options;
        options.onProgress = [&progress](std::int64_t nDone, std::int64_t nTotal)
        { return progress.Step(nDone, nTotal); };
        result = m_pEdit->Save(path, options);
        bCancelled = progress.Cancelled();
    }
    if (!result)
    {
        if (bCancelled)
            SetMessageText(tr("Saving cancelled: %1 is as it was").arg(name));
        else
            m_platform.MessageBox(this, tr("%1 could not be saved; it is as it was.\n\n%2")
                                            .arg(name, QString::fromStdString(result.Text())));
        return false;
    }
    // The saved archive is read again, as any archive opened: what shows is what was written.
    // The views let go of the edits first, in case the file cannot be read.
    LeaveEditing();
    if (m_fnOpenDocument)
        m_fnOpenDocument(QString::fromStdString(path));
    SetMessageText(tr("%1 saved").arg(name));
    return true;
}

bool CMainFrame::SaveModified()
{
    if (!m_pEdit || !m_pEdit->IsModified())
    {
        LeaveEditing();
        return true;
    }
    const QString name = QFileInfo(QString::fromStdString(m_pEdit->Path())).fileName();
    switch (m_platform.Ask(this, tr("Save the changes to %1?").arg(name), true, true))
    {
    case IPlatformServices::Answer::Yes:
        return OnSave();
    case IPlatformServices::Answer::No:
        LeaveEditing();
        return true;
    default:
        return false;
    }
}

void CMainFrame::LeaveEditing()
{
    if (!m_pEdit)
        return;
    m_pPreview->StopPreview(true);
    m_pEdit.reset();
    RefreshViews();
    UpdateEditTitle();
}

void CMainFrame::PreviewEditRow(int nRow, bool bForce)
{
    const EditListRow* pRow = m_pList->EditRows() ? m_pList->EditRows()->Row(nRow) : nullptr;
    const ArchiveEditNode* pNode = pRow ? FindEditNode(m_pEdit->Root(), pRow->Path()) : nullptr;
    if (!pNode || pNode->bDirectory)
        return;
    // An added or replaced file previews from the disk file that will be saved.
    EntrySource source;
    source.strPath = pNode->FromDisk() ? pNode->strDiskPath : m_pEdit->Path();
    source.nOffset = pNode->FromDisk() ? 0 : pNode->nOffset;
    source.nSize = pNode->FromDisk() ? pNode->nDiskSize : pNode->nStoredSize;
    source.strName = pNode->strName;
    source.strDirPath = pRow->strDir;
    source.nType = GetFileType(pNode->strName);
    m_pPreview->PreviewEntry(source, bForce);
}

int CMainFrame::ExtractEditSelection(const std::string& destination, bool bKeepDirectories,
                                     std::vector<std::string>* pWritten)
{
    // Opened once, with the directories below it as rows need them.
    CDestinationDir root;
    Result opened = CDestinationDir::Open(destination, root);
    std::map<std::string, CDestinationDir> directories;
    int nWritten = 0;
    for (const int nRow : m_pList->SelectedRows())
    {
        const EditListRow* pRow = m_pList->EditRows()->Row(nRow);
        if (!pRow || pRow->bFolder)
            continue;
        std::string path;
        Result result = opened;
        const CDestinationDir* pDir = &root;
        if (result && bKeepDirectories && !pRow->strDir.empty())
        {
            auto it = directories.find(pRow->strDir);
            if (it == directories.end())
            {
                CDestinationDir dir;
                result = OpenEditDirectory(root, pRow->strDir, dir);
                if (result)
                    it = directories.emplace(pRow->strDir, std::move(dir)).first;
            }
            if (result)
                pDir = &it->second;
        }
        if (result)
            result = ExtractEditRow(*pRow, *pDir, path);
        if (!result)
        {
            m_platform.MessageBox(this, tr("Extraction stopped at %1.\n\n%2")
                                            .arg(FromArchiveText(pRow->Path()),
                                                 QString::fromStdString(result.Text())));
            return -1;
        }
        if (pWritten)
            pWritten->push_back(path);
        ++nWritten;
    }
    SetMessageText(
        tr("%1 files extracted to %2").arg(nWritten).arg(QString::fromStdString(destination)));
    return nWritten;
}

// The row's directories below the destination, which must exist (any case), as a stored
// archive's entries are written into the game's data directory.
Result CMainFrame::OpenEditDirectory(const CDestinationDir& root, const std::string& archiveDir,
                                     CDestinationDir& dir)
{
    const CDestinationDir* pAt = &root;
    for (const std::string& name : SplitArchivePath(archiveDir))
    {
        CDestinationDir subdir;
        if (Result r = pAt->OpenExistingSubdir(Cp1252ToUtf8(name), subdir); !r)
            return r;
        dir = std::move(subdir);
        pAt = &dir;
    }
    return Result::Ok();
}

// As a stored archive's entry is written: a plain name only, inside the held-open directory.
Result CMainFrame::ExtractEditRow(const EditListRow& row, const CDestinationDir& dir,
                                  std::string& writtenPath)
{
    if (!CEntryExtractor::IsSafeName(row.strName))
        return Result::Fail(Cp1252ToUtf8(row.Path()) +
                            ": refused: the file name cannot be used on disk");
    const std::string diskName = Cp1252ToUtf8(row.strName);
    writtenPath = dir.PathOf(diskName);
    return dir.WriteFileAtomically(
        diskName,
        [&](int fd)
        {
            return m_pEdit->StreamContent(
                row.Path(),
                [&](std::span<const unsigned char> piece)
                {
                    return WriteAll(fd,
                                    std::string_view(reinterpret_cast<const char*>(piece.data()),
                                                     piece.size()))
                               ? Result::Ok()
                               : Result::Fail(writtenPath + ": " + std::strerror(errno));
                });
        });
}

void CMainFrame::OpenEditSelection()
{
    const std::vector<int> rows = m_pList->SelectedRows();
    const EditListRow* pRow = rows.size() == 1 ? m_pList->EditRows()->Row(rows.front()) : nullptr;
    if (!pRow)
        return;
    if (pRow->bFolder)
        return m_platform.MessageBox(
            this, tr("This is a folder. You can only open files in external applications."),
            tr("Selection Error"), IPlatformServices::MessageIcon::None);
    if (m_settings.m_bAutoStopPreview)
        m_pPreview->StopPreview(true);
    const std::string temp = GetTempDirectory();
    std::vector<std::string> written;
    if (ExtractEditSelection(temp, false, &written) == 1)
        m_platform.OpenDocument(QString::fromStdString(written.front()),
                                QString::fromStdString(temp));
}

void CMainFrame::CopyEditSelection(bool bArchivePaths)
{
    QStringList lines;
    for (const int nRow : m_pList->SelectedRows())
        if (const EditListRow* pRow = m_pList->EditRows()->Row(nRow))
            lines << FromArchiveText(bArchivePaths ? pRow->Path() : pRow->strName);
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

bool CMainFrame::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QMainWindow::eventFilter(pWatched, pEvent);
    auto* pDrop = static_cast<QDropEvent*>(pEvent);
    const bool bOntoTree = pWatched == m_pTree->viewport();
    // Files from elsewhere, onto an archive that can be edited; anything else is the
    // window's: an archive to open.
    const auto* pSource = qobject_cast<const QWidget*>(pDrop->source());
    const bool bOwnDrag = pSource && (pSource == this || isAncestorOf(pSource));
    const QMimeData* pData = pDrop->mimeData();
    const bool bFiles = pData && !pData->urls().isEmpty() && pData->urls().front().isLocalFile();
    if (!CanEdit() || bOwnDrag || !bFiles)
    {
        if (type == QEvent::DragEnter)
            dragEnterEvent(static_cast<QDragEnterEvent*>(pEvent));
        else if (type == QEvent::DragMove)
            pDrop->setAccepted(!bOwnDrag && bFiles);
        else
            dropEvent(pDrop);
        return true;
    }
    const QPoint pos = pDrop->position().toPoint();
    std::optional<EditListSelection> target;
    if (bOntoTree)
    {
        if (m_pTree->ShowsEditTree())
            target = m_pTree->EditSelectionAt(pos);
        else if (const QTreeWidgetItem* pItem = m_pTree->itemAt(pos))
        {
            // Before the first edit the items are the document's directories.
            target = EditListSelection{EditListSelection::Kind::Directory, {}, -1};
            for (int d = 0; d < std::min(m_doc.m_nDirCount, MAX_DIRS); ++d)
                if (m_doc.m_nArchiveKind == ARCHIVE_KIND_VP && m_doc.m_dirs[d].hTreeItem == pItem)
                    target->strDir = m_doc.GetDirPath(d);
        }
        // Every file, or a type, stands for the archive's root.
        if (target && target->eKind != EditListSelection::Kind::Directory)
            target = EditListSelection{EditListSelection::Kind::Directory, {}, -1};
    }
    if (bOntoTree && !target)
    {
        pDrop->ignore();
        return true;
    }
    // Accepting a proposed move would let the file manager delete what it dropped.
    pDrop->setDropAction(Qt::CopyAction);
    pDrop->accept();
    if (type != QEvent::Drop)
        return true;

    QStringList paths;
    for (const QUrl& url : pData->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    std::string rowPath;
    bool bRowIsFolder = false;
    if (!bOntoTree)
    {
        const int nRow = m_pList->rowAt(pos.y());
        if (m_pList->ShowsEditList())
        {
            if (const EditListRow* pRow = m_pList->EditRows()->Row(nRow))
                rowPath = pRow->Path(), bRowIsFolder = pRow->bFolder;
        }
        else if (nRow >= 0 && nRow < m_pList->RowCount())
        {
            const auto r = static_cast<std::size_t>(nRow);
            const int nIndex = m_pList->m_aRowIndex[r];
            bRowIsFolder = m_pList->m_aRowIsFolder[r] != 0;
            if (bRowIsFolder && nIndex >= 0 && nIndex < m_doc.m_nDirCount)
                rowPath = m_doc.GetDirPath(nIndex);
            else if (!bRowIsFolder && nIndex >= 0 && nIndex < m_doc.m_nFileCount)
                rowPath = DocFilePath(m_doc, nIndex);
        }
    }
    // The file manager waits until the drop returns; questions must not hold it.
    QMetaObject::invokeMethod(
        this,
        [this, paths, target, rowPath, bRowIsFolder]
        {
            DropFiles(paths, target ? target->strDir : std::optional<std::string>(), rowPath,
                      bRowIsFolder);
        },
        Qt::QueuedConnection);
    return true;
}

void CMainFrame::DropFiles(const QStringList& paths, const std::optional<std::string>& treeDir,
                           const std::string& rowPath, bool bRowIsFolder)
{
    if (!EditList())
        return;
    if (treeDir)
        return AddDiskPaths(*treeDir, paths);
    if (!rowPath.empty() && bRowIsFolder)
        return AddDiskPaths(rowPath, paths);
    // One file dropped onto a file of its name stands in for it, once the user agrees.
    std::string name;
    if (paths.size() == 1 && !rowPath.empty() && QFileInfo(paths.front()).isFile() &&
        Utf8ToCp1252(QFileInfo(paths.front()).fileName().toStdString(), name) &&
        EqualsNoCaseAscii(name, LastPart(rowPath)))
    {
        if (m_platform.Ask(this,
                           tr("Replace %1 with the file dropped?").arg(FromArchiveText(rowPath)),
                           false, false) == IPlatformServices::Answer::Yes)
            ApplyEdit(m_pEdit->Replace(rowPath,
                                       QFileInfo(paths.front()).absoluteFilePath().toStdString()));
        return;
    }
    AddDiskPaths(EditDirectory(), paths);
}
