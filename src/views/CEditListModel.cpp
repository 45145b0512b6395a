#include "CEditListModel.h"

#include <QColor>
#include <QFont>

#include "ArchiveTextQt.h"
#include "AsciiText.h"
#include "CArchiveEditList.h"
#include "FileListFormat.h"
#include "FileTypes.h"
#include "NameFilter.h"
#include "TextEncoding.h"

namespace
{
constexpr int COLUMN_NAME = 0;
constexpr int COLUMN_TYPE = 1;
constexpr int COLUMN_SIZE = 2;
constexpr int COLUMN_TIME = 3;

EditListRow RowOf(const ArchiveEditNode& node, const std::string& dir)
{
    EditListRow row;
    row.bFolder = node.bDirectory;
    row.strDir = dir;
    row.strName = node.strName;
    row.nSize = node.FromDisk() ? node.nDiskSize : node.nStoredSize;
    row.tTime = node.tTime;
    row.state = node.state;
    return row;
}
} // namespace

const ArchiveEditNode* FindEditNode(const ArchiveEditNode& root, const std::string& path)
{
    const ArchiveEditNode* pNode = &root;
    std::size_t nStart = 0;
    while (pNode && nStart < path.size())
    {
        std::size_t nEnd = path.find('\\', nStart);
        if (nEnd == std::string::npos)
            nEnd = path.size();
        const std::string part = path.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (part.empty())
            continue;
        const ArchiveEditNode* pFound = nullptr;
        for (const ArchiveEditNode& child : pNode->aChildren)
            if (EqualsNoCaseAscii(child.strName, part))
                pFound = &child;
        pNode = pFound;
    }
    return pNode;
}

QVariant EditStateLook(EditState state, int role)
{
    if (state == EditState::Unchanged)
        return {};
    // What is not saved yet stands out: added entries green, replaced ones blue, both bold.
    switch (role)
    {
    case Qt::ForegroundRole:
        return state == EditState::Added ? QColor(0, 128, 0) : QColor(0, 64, 192);
    case Qt::FontRole:
    {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::ToolTipRole:
        return state == EditState::Added ? CEditListModel::tr("Added, not saved yet")
                                         : CEditListModel::tr("Replaced, not saved yet");
    default:
        return {};
    }
}

CEditListModel::CEditListModel(QObject* pParent) : QAbstractTableModel(pParent) {}

void CEditListModel::SetPictures(const QPixmap& folderPicture, const QPixmap& documentPicture)
{
    m_folderPicture = folderPicture;
    m_documentPicture = documentPicture;
}

void CEditListModel::Fill(const CArchiveEditList& list, const EditListSelection& selection,
                          const NameFilter& filter, bool bPassNothing, bool bAsKB)
{
    beginResetModel();
    m_selection = selection;
    m_bAsKB = bAsKB;
    m_nColumns = list.Format() == ArchiveFormat::Vpp ? 3 : 4;
    m_rows.clear();
    m_nUnfiltered = 0;
    auto add = [&](EditListRow row)
    {
        ++m_nUnfiltered;
        if (!bPassNothing && filter.Matches(row.strName))
            m_rows.push_back(std::move(row));
    };
    if (selection.eKind == EditListSelection::Kind::Directory)
    {
        const ArchiveEditNode* pDir = FindEditNode(list.Root(), selection.strDir);
        if (pDir && pDir->bDirectory)
        {
            // Folders above files, as the stored list shows them.
            for (const ArchiveEditNode& child : pDir->aChildren)
                if (child.bDirectory)
                    add(RowOf(child, selection.strDir));
            for (const ArchiveEditNode& child : pDir->aChildren)
                if (!child.bDirectory)
                    add(RowOf(child, selection.strDir));
        }
    }
    else
    {
        for (const EditRow& file : list.Rows())
        {
            if (selection.eKind == EditListSelection::Kind::Type &&
                GetFileType(file.strName) != selection.nType)
                continue;
            EditListRow row;
            row.strDir = file.strDir;
            row.strName = file.strName;
            row.nSize = file.nSize;
            row.tTime = file.tTime;
            row.state = file.state;
            add(std::move(row));
        }
    }
    endResetModel();
}

void CEditListModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    m_nUnfiltered = 0;
    endResetModel();
}

const EditListRow* CEditListModel::Row(int nRow) const
{
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_rows.size())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(nRow)];
}

int CEditListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CEditListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nColumns;
}

Qt::ItemFlags CEditListModel::flags(const QModelIndex& index) const
{
    const EditListRow* pRow = Row(index.row());
    if (!index.isValid() || !pRow)
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return pRow->bFolder ? flags : flags | Qt::ItemIsDragEnabled;
}

QString CEditListModel::CellText(const EditListRow& row, int nColumn) const
{
    switch (nColumn)
    {
    case COLUMN_NAME:
        if (m_selection.eKind == EditListSelection::Kind::All && !row.strDir.empty())
            return FromArchiveText(row.strName + " in " + row.strDir);
        return FromArchiveText(row.strName);
    case COLUMN_TYPE:
    {
        if (row.bFolder)
            return QStringLiteral("Folder");
        const int nType = GetFileType(row.strName);
        if (nType < 0 || nType >= FILE_TYPE_COUNT)
            return {};
        return QString::fromUtf8(FileTypes[nType].szDescription);
    }
    case COLUMN_SIZE:
        return row.bFolder ? QString()
                           : QString::fromStdString(::FormatFileSize(row.nSize, m_bAsKB));
    case COLUMN_TIME:
        return row.bFolder ? QString() : QString::fromStdString(::FormatFileTime(row.tTime));
    default:
        return {};
    }
}

QVariant CEditListModel::data(const QModelIndex& index, int role) const
{
    const EditListRow* pRow = index.isValid() ? Row(index.row()) : nullptr;
    if (!pRow || index.column() < 0 || index.column() >= m_nColumns)
        return {};
    switch (role)
    {
    case Qt::DisplayRole:
        return CellText(*pRow, index.column());
    case Qt::DecorationRole:
        if (index.column() != COLUMN_NAME)
            return {};
        return pRow->bFolder ? m_folderPicture : m_documentPicture;
    case Qt::TextAlignmentRole:
        if (index.column() == COLUMN_SIZE)
            return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
    case Qt::FontRole:
    case Qt::ToolTipRole:
        return EditStateLook(pRow->state, role);
    case kEditStateRole:
        return static_cast<int>(pRow->state);
    default:
        return {};
    }
}

QVariant CEditListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_nColumns)
        return {};
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>((section == COLUMN_SIZE ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[] = {"Filename", "Type", "Size", "Date & Time"};
    return QString::fromLatin1(kTitles[section]);
}
