// CLeftView: an archive's directories as they would be saved, while it is edited.
#include <map>

#include "ArchiveTextQt.h"
#include "CArchiveEditList.h"
#include "CEditListModel.h"
#include "CLeftView.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "FileTypes.h"
#include "TextEncoding.h"

namespace
{
constexpr int kRoleKind = Qt::UserRole + 10;
constexpr int kRoleDir = Qt::UserRole + 11;
constexpr int kRoleType = Qt::UserRole + 12;

QTreeWidgetItem* MakeItem(const QString& text, const EditListSelection& selection)
{
    auto* pItem = new QTreeWidgetItem(QStringList(text));
    pItem->setData(0, kRoleKind, static_cast<int>(selection.eKind));
    pItem->setData(0, kRoleDir, QByteArray::fromStdString(selection.strDir));
    pItem->setData(0, kRoleType, selection.nType);
    return pItem;
}

EditListSelection SelectionOf(const QTreeWidgetItem& item)
{
    EditListSelection selection;
    selection.eKind = static_cast<EditListSelection::Kind>(item.data(0, kRoleKind).toInt());
    selection.strDir = item.data(0, kRoleDir).toByteArray().toStdString();
    selection.nType = item.data(0, kRoleType).toInt();
    return selection;
}

void AddDirectories(const ArchiveEditNode& dir, const std::string& path, QTreeWidgetItem* pParent,
                    QList<QTreeWidgetItem*>& topLevel)
{
    for (const ArchiveEditNode& child : dir.aChildren)
    {
        if (!child.bDirectory)
            continue;
        int nFiles = 0;
        for (const ArchiveEditNode& entry : child.aChildren)
            nFiles += entry.bDirectory ? 0 : 1;
        EditListSelection selection;
        selection.eKind = EditListSelection::Kind::Directory;
        selection.strDir = path + "\\" + child.strName;
        QTreeWidgetItem* pItem = MakeItem(
            QStringLiteral("%1 (%2)").arg(FromArchiveText(child.strName)).arg(nFiles), selection);
        for (const int role : {Qt::ForegroundRole, Qt::FontRole, Qt::ToolTipRole})
            if (const QVariant look = EditStateLook(child.state, role); look.isValid())
                pItem->setData(0, role, look);
        if (pParent)
            pParent->addChild(pItem);
        else
            topLevel.append(pItem);
        AddDirectories(child, selection.strDir, pItem, topLevel);
    }
}

bool SameSelection(const EditListSelection& a, const EditListSelection& b)
{
    return a.eKind == b.eKind && a.nType == b.nType &&
           (a.eKind != EditListSelection::Kind::Directory || a.strDir == b.strDir);
}
} // namespace

void CLeftView::ShowEditTree(const CArchiveEditList& list, const EditListSelection& select)
{
    m_bRebuilding = true;
    m_bEditTree = true;
    clear();
    // The document's handles would name deleted items.
    for (int d = 0; d < std::min(m_doc.m_nDirCount, MAX_DIRS); ++d)
        m_doc.m_dirs[d].hTreeItem = nullptr;
    m_doc.m_hAllFilesItem = nullptr;

    QList<QTreeWidgetItem*> topLevel;
    QTreeWidgetItem* pAll = MakeItem(QStringLiteral("<All files>"), EditListSelection());
    if (list.Format() == ArchiveFormat::Vp)
    {
        AddDirectories(list.Root(), {}, nullptr, topLevel);
    }
    else
    {
        std::map<int, bool> types;
        for (const ArchiveEditNode& file : list.Root().aChildren)
            types[GetFileType(file.strName)] = true;
        for (const auto& [nType, bPresent] : types)
        {
            EditListSelection selection;
            selection.eKind = EditListSelection::Kind::Type;
            selection.nType = nType;
            pAll->addChild(MakeItem(FromArchiveText(GetTypeDirName(nType)), selection));
        }
    }
    topLevel.append(pAll);
    addTopLevelItems(topLevel);
    expandAll();

    // The directory shown before, else the nearest one above it that is still there.
    EditListSelection wanted = select;
    QTreeWidgetItem* pSelect = nullptr;
    while (!pSelect)
    {
        for (QTreeWidgetItemIterator it(this); *it && !pSelect; ++it)
            if (SameSelection(SelectionOf(**it), wanted))
                pSelect = *it;
        if (pSelect || wanted.eKind != EditListSelection::Kind::Directory)
            break;
        const std::size_t nSlash = wanted.strDir.rfind('\\');
        if (nSlash == std::string::npos || wanted.strDir.empty())
            break;
        wanted.strDir.resize(nSlash);
    }
    // The root has no item: its files show among every file.
    if (!pSelect)
        pSelect = pAll;
    setCurrentItem(pSelect);
    m_bRebuilding = false;
    ShowEditItem(pSelect);
}

std::optional<EditListSelection> CLeftView::EditSelectionAt(const QPoint& pos) const
{
    const QTreeWidgetItem* pItem = itemAt(pos);
    if (!m_bEditTree || !pItem)
        return std::nullopt;
    return SelectionOf(*pItem);
}

void CLeftView::ShowEditItem(const QTreeWidgetItem* pItem)
{
    if (pItem)
        m_list.ShowEditRows(SelectionOf(*pItem));
}
