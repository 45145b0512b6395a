#include "CFileListModel.h"

#include <string>

#include "ArchiveTextQt.h"
#include "CORBISTAVDoc.h"
#include "FileListFormat.h"
#include "FileTypes.h"
#include "TextEncoding.h"

namespace
{
constexpr int COLUMN_NAME = 0;
constexpr int COLUMN_TYPE = 1;
constexpr int COLUMN_SIZE = 2;
constexpr int COLUMN_TIME = 3;

} // namespace

CFileListModel::CFileListModel(const CORBISTAVDoc& doc, const std::int32_t* pRowIsFolder,
                               const std::int32_t* pRowIndex, QObject* pParent)
    : QAbstractTableModel(pParent), m_doc(doc), m_pRowIsFolder(pRowIsFolder), m_pRowIndex(pRowIndex)
{
}

void CFileListModel::SetPictures(const QPixmap& folderPicture, const QPixmap& documentPicture)
{
    m_folderPicture = folderPicture;
    m_documentPicture = documentPicture;
}

void CFileListModel::BeginFill()
{
    beginResetModel();
}

void CFileListModel::EndFill(int nColumnKind, int nRows, RowText eText, bool bAsKB)
{
    m_nColumnKind = nColumnKind;
    m_nRows = nRows;
    m_eText = eText;
    m_bAsKB = bAsKB;
    endResetModel();
}

int CFileListModel::ColumnCountOfKind(int nColumnKind)
{
    switch (nColumnKind)
    {
    case ARCHIVE_KIND_VP:
        return 4;
    case ARCHIVE_KIND_VPP:
        return 3;
    default:
        return 1;
    }
}

QString CFileListModel::HintText()
{
    return QStringLiteral("Open a .VP or .VPP archive via the 'File' menu.");
}

int CFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nRows;
}

int CFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCountOfKind(m_nColumnKind);
}

Qt::ItemFlags CFileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    // Folders are not handed over: a drag holding only folder rows does not start.
    if (m_eText == RowText::Hint || index.row() >= m_nRows || m_pRowIsFolder[index.row()])
        return flags;
    return flags | Qt::ItemIsDragEnabled;
}

QString CFileListModel::CellText(int nRow, int nColumn) const
{
    if (m_eText == RowText::Hint)
        return nColumn == COLUMN_NAME ? HintText() : QString();

    // Indices are checked against the counts: a row must never read a record that
    // the current archive did not fill.
    const int nIndex = m_pRowIndex[nRow];
    if (m_pRowIsFolder[nRow])
    {
        if (nIndex < 0 || nIndex >= m_doc.m_nDirCount)
            return {};
        if (nColumn == COLUMN_NAME)
            return FromArchiveText(m_doc.m_dirs[nIndex].strName);
        if (nColumn == COLUMN_TYPE)
            return QStringLiteral("Folder");
        return {};
    }

    if (nIndex < 0 || nIndex >= m_doc.m_nFileCount)
        return {};
    const ArchiveFile& file = m_doc.m_files[nIndex];
    switch (nColumn)
    {
    case COLUMN_NAME:
        if (m_eText == RowText::NameInPath)
            return FromArchiveText(file.strName + " in " + m_doc.GetDirPath(file.nDir));
        return FromArchiveText(file.strName);
    case COLUMN_TYPE:
        if (file.nType < 0 || file.nType >= FILE_TYPE_COUNT)
            return {};
        return QString::fromUtf8(FileTypes[file.nType].szDescription);
    case COLUMN_SIZE:
        return QString::fromStdString(::FormatFileSize(file.nSize, m_bAsKB));
    case COLUMN_TIME:
        return QString::fromStdString(::FormatFileTime(file.tTime));
    default:
        return {};
    }
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.parent().isValid())
        return {};
    const int nRow = index.row();
    const int nColumn = index.column();
    if (nRow < 0 || nRow >= m_nRows || nColumn < 0 || nColumn >= columnCount())
        return {};

    switch (role)
    {
    case Qt::DisplayRole:
        return CellText(nRow, nColumn);
    case Qt::DecorationRole:
        if (nColumn != COLUMN_NAME || m_eText == RowText::Hint)
            return {};
        return m_pRowIsFolder[nRow] ? m_folderPicture : m_documentPicture;
    case Qt::TextAlignmentRole:
        if (m_nColumnKind != ARCHIVE_KIND_NONE && nColumn == COLUMN_SIZE)
            return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole)
    {
        if (m_nColumnKind != ARCHIVE_KIND_NONE && section == COLUMN_SIZE)
            return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    if (m_nColumnKind == ARCHIVE_KIND_NONE)
        return QStringLiteral("No file loaded.");
    switch (section)
    {
    case COLUMN_NAME:
        return QStringLiteral("Filename");
    case COLUMN_TYPE:
        return QStringLiteral("Type");
    case COLUMN_SIZE:
        return QStringLiteral("Size");
    case COLUMN_TIME:
        return QStringLiteral("Date & Time");
    default:
        return {};
    }
}
