// The file list's context menu: the Action menu's commands for the selection, and copying
// the selected rows' names or archive paths.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

#include "ArchiveTextQt.h"
#include "CCommandTable.h"
#include "CEntryExtractor.h"
#include "CMainFrame.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "TextEncoding.h"

void CMainFrame::CreateListMenu()
{
    CCommandTable& t = *m_pCommands;
    auto fileRowsSelected = [this]
    {
        return (m_doc.m_nArchiveKind != ARCHIVE_KIND_NONE || m_pGame) &&
               !m_pList->SelectedRows().empty();
    };
    t.Add(ID_COPY_NAME, tr("Copy &name"), tr("Copy the names of the selected files\nCopy name"),
          fileRowsSelected, [this] { CopySelection(false); });
    t.Add(ID_COPY_ARCHIVE_PATH, tr("Copy archive &path"),
          tr("Copy the paths of the selected files inside the archive\nCopy archive path"),
          fileRowsSelected, [this] { CopySelection(true); });

    // A hidden entry of the menu bar, so that the owner-drawn menus take it over as they
    // take the Action menu: the same pictures and accelerator column.
    m_pListMenu = menuBar()->addMenu(tr("File list"));
    m_pListMenu->setObjectName(QStringLiteral("listMenu"));
    m_pListMenu->menuAction()->setVisible(false);
    const int ids[] = {ID_OPEN_SELECTED,
                       ID_EXTRACT_TO_DIR,
                       ID_EXTRACT_FS_DATA,
                       0,
                       ID_PLAY_PREVIEW,
                       ID_STOP_PREVIEW,
                       0,
                       ID_COPY_NAME,
                       ID_COPY_ARCHIVE_PATH};
    for (const int nId : ids)
    {
        if (nId == 0)
            m_pListMenu->addSeparator();
        else
            m_pListMenu->addAction(t.Action(nId));
    }
    m_pListMenu->addSeparator();
    for (const int nId : {ID_EDIT_ADD_FILES, ID_EDIT_ADD_FOLDER, ID_EDIT_NEW_FOLDER, ID_EDIT_RENAME,
                          ID_EDIT_DELETE})
        m_pListMenu->addAction(t.Action(nId));
    connect(m_pListMenu, &QMenu::aboutToShow, m_pCommands, &CCommandTable::UpdateAll);
    connect(m_pList, &CORBISTAVView::ContextMenuAsked, m_pListMenu,
            [this](const QPoint& pos) { m_pListMenu->popup(pos); });
}

void CMainFrame::CopySelection(bool bArchivePaths)
{
    if (m_pEdit)
        return CopyEditSelection(bArchivePaths);
    if (m_pGame)
        return CopyGameSelection(bArchivePaths);
    QStringList lines;
    for (const int nRow : m_pList->SelectedRows())
    {
        const int nIndex = m_pList->m_aRowIndex[static_cast<std::size_t>(nRow)];
        std::string text;
        if (m_pList->m_aRowIsFolder[static_cast<std::size_t>(nRow)])
        {
            if (nIndex < 0 || nIndex >= m_doc.m_nDirCount)
                continue;
            text = bArchivePaths ? m_doc.GetDirPath(nIndex) : m_doc.m_dirs[nIndex].strName;
        }
        else
        {
            if (nIndex < 0 || nIndex >= m_doc.m_nFileCount)
                continue;
            text = bArchivePaths ? CEntryExtractor::ArchivePathOf(m_doc, nIndex)
                                 : m_doc.m_files[nIndex].strName;
        }
        lines << FromArchiveText(text);
    }
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}
