#include "CLeftView.h"

#include <algorithm>
#include <string>

#include <QHeaderView>

#include "ArchiveTextQt.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "TextEncoding.h"

namespace
{
QString AllFilesText()
{
    return QStringLiteral("<All files>");
}
} // namespace

CLeftView::CLeftView(CORBISTAVDoc& doc, CORBISTAVView& list, QWidget* pParent)
    : QTreeWidget(pParent), m_doc(doc), m_list(list)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelChanged(); });
}

void CLeftView::Rebuild()
{
    // The list is filled below, once; the emptied selection of the old tree is no
    // choice of the user's.
    m_bRebuilding = true;
    m_bEditTree = false;
    m_bGameFolder = false;
    clear();
    // Records are reused between archives and a new item may get the address of a
    // deleted one, so every handle goes before any item is made.
    const int nDirCount = std::clamp(m_doc.m_nDirCount, 0, MAX_DIRS);
    for (int d = 0; d < nDirCount; ++d)
        m_doc.m_dirs[d].hTreeItem = nullptr;
    m_doc.m_hAllFilesItem = nullptr;

    QList<QTreeWidgetItem*> topLevel;
    int nFirst = 0;
    if (m_doc.m_nArchiveKind == ARCHIVE_KIND_VP)
    {
        if (nDirCount > 0)
            AddDirItems(0, nullptr, topLevel);
        auto* pAll = new QTreeWidgetItem(QStringList(AllFilesText()));
        m_doc.m_hAllFilesItem = pAll;
        topLevel.append(pAll);
        nFirst = FirstVpDirectory();
    }
    else if (m_doc.m_nArchiveKind == ARCHIVE_KIND_VPP)
    {
        auto* pAll = new QTreeWidgetItem(QStringList(AllFilesText()));
        m_doc.m_hAllFilesItem = pAll;
        for (int d = 1; d < nDirCount; ++d)
        {
            auto* pItem =
                new QTreeWidgetItem(pAll, QStringList(FromArchiveText(m_doc.m_dirs[d].strName)));
            m_doc.m_dirs[d].hTreeItem = pItem;
        }
        topLevel.append(pAll);
    }
    addTopLevelItems(topLevel);
    expandAll();
    m_bRebuilding = false;

    m_nSelDir = nFirst;
    ShowSelection();
}

void CLeftView::AddDirItems(int nDir, QTreeWidgetItem* pParent, QList<QTreeWidgetItem*>& topLevel)
{
    const ArchiveDir& dir = m_doc.m_dirs[nDir];
    const int nChildren = std::clamp(dir.nChildren, 0, MAX_SUBDIRS);
    for (int i = 0; i < nChildren; ++i)
    {
        const int c = dir.aChildren[i];
        // A subdirectory always has the larger index; anything else would loop.
        if (c <= nDir || c >= m_doc.m_nDirCount)
            continue;
        ArchiveDir& child = m_doc.m_dirs[c];
        const QString text =
            QStringLiteral("%1 (%2)").arg(FromArchiveText(child.strName)).arg(child.nFiles);
        auto* pItem = pParent ? new QTreeWidgetItem(pParent, QStringList(text))
                              : new QTreeWidgetItem(QStringList(text));
        if (!pParent)
            topLevel.append(pItem);
        child.hTreeItem = pItem;
        AddDirItems(c, pItem, topLevel);
    }
}

int CLeftView::FirstVpDirectory() const
{
    // With one directory besides the root that directory is shown: the rule for three
    // records would pick directory 2, which does not exist then.
    switch (m_doc.m_nDirCount)
    {
    case 0:
    case 1:
        return 0;
    case 2:
        return 1;
    case 3:
        return 2;
    default:
        return 1;
    }
}

void CLeftView::OnSelChanged()
{
    if (m_bRebuilding)
        return;
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem* pItem = selected.front();
    if (m_bEditTree)
        return ShowEditItem(pItem);
    if (m_bGameFolder)
    {
        ShowGameItem(pItem);
        return;
    }

    int nSel = -2;
    if (pItem == m_doc.m_hAllFilesItem)
        nSel = -1;
    else
    {
        const int nDirCount = std::clamp(m_doc.m_nDirCount, 0, MAX_DIRS);
        for (int d = 0; d < nDirCount; ++d)
        {
            if (m_doc.m_dirs[d].hTreeItem == pItem)
                nSel = d;
        }
    }
    if (nSel == -2)
        return;
    m_nSelDir = nSel;
    ShowSelection();
}

void CLeftView::ShowSelection()
{
    if (m_bEditTree)
        return ShowEditItem(currentItem());
    if (m_bGameFolder)
    {
        ShowGameItem(currentItem());
        return;
    }
    switch (m_doc.m_nArchiveKind)
    {
    case ARCHIVE_KIND_VP:
        m_list.ShowDirectory(m_nSelDir);
        break;
    case ARCHIVE_KIND_VPP:
        if (m_nSelDir >= 0 && m_nSelDir < m_doc.m_nDirCount)
            m_list.ShowType(m_doc.m_dirs[m_nSelDir].nType);
        else
            m_list.ShowType(-1);
        break;
    default:
        break;
    }
}
