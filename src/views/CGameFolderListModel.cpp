#include "CGameFolderListModel.h"

#include <algorithm>
#include <limits>

#include <QColor>
#include <QFont>

#include "AsciiText.h"
#include "CGameFolder.h"
#include "FileListFormat.h"
#include "GamePathTypes.h"
#include "NameFilter.h"
#include "TextEncoding.h"

namespace
{
constexpr int COLUMN_NAME = 0;
constexpr int COLUMN_SIZE = 1;
constexpr int COLUMN_TIME = 2;
constexpr int COLUMN_SOURCE = 3;
// Ignored files: what they are, why the game passes them by, where they lie.
constexpr int COLUMN_WHY = 1;
constexpr int COLUMN_IGNORED_SOURCE = 2;

// The filter works on Windows-1252 bytes, as an archive's names are; a name that has no
// such spelling is tried as it is.
bool PassesFilter(const NameFilter* pFilter, std::string_view utf8Name)
{
    if (!pFilter || pFilter->IsEmpty())
        return true;
    std::string bytes;
    return pFilter->Matches(Utf8ToCp1252(utf8Name, bytes) ? std::string_view(bytes) : utf8Name);
}

QString ReasonText(GameIgnoreReason reason)
{
    switch (reason)
    {
    case GameIgnoreReason::UnknownFolder:
        return QStringLiteral("in a folder the game does not know");
    case GameIgnoreReason::Extension:
        return QStringLiteral("its folder does not load this extension");
    case GameIgnoreReason::PlayerFiles:
        return QStringLiteral("pilot files are never read from disk");
    }
    return {};
}

std::int32_t ClampTime(std::int64_t tTime)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        tTime, 0, std::numeric_limits<std::int32_t>::max()));
}
} // namespace

CGameFolderListModel::CGameFolderListModel(QObject* pParent) : QAbstractTableModel(pParent) {}

void CGameFolderListModel::SetPicture(const QPixmap& documentPicture)
{
    m_documentPicture = documentPicture;
}

void CGameFolderListModel::SetFolder(const CGameFolder* pFolder)
{
    beginResetModel();
    m_pFolder = pFolder;
    m_rows.clear();
    m_nUnfiltered = 0;
    endResetModel();
}

QString CGameFolderListModel::SourceText(const CGameFolder& folder, int nSource)
{
    const GameSource& source = folder.Sources()[static_cast<std::size_t>(nSource)];
    if (source.bArchive)
        return QString::fromStdString(source.strPath);
    if (source.strPath.empty())
        return QStringLiteral("game folder (loose files)");
    return QStringLiteral("%1 (loose files)").arg(QString::fromStdString(source.strPath));
}

void CGameFolderListModel::Fill(const GameListSelection& selection, const NameFilter* pFilter,
                                bool bShowHidden, bool bAsKB)
{
    beginResetModel();
    m_selection = selection;
    m_bAsKB = bAsKB;
    m_rows.clear();
    m_nUnfiltered = 0;
    if (m_pFolder && selection.eKind == GameListSelection::Kind::Ignored)
    {
        const std::vector<GameIgnored>& ignored = m_pFolder->Ignored();
        for (std::size_t i = 0; i < ignored.size(); ++i)
        {
            ++m_nUnfiltered;
            const std::string& path = ignored[i].strPath;
            if (PassesFilter(pFilter, path.substr(path.rfind('/') + 1)))
                m_rows.push_back({static_cast<int>(i), false});
        }
    }
    else if (m_pFolder)
    {
        const std::vector<GameFile>& files = m_pFolder->Files();
        const bool bAll = selection.eKind == GameListSelection::Kind::All;
        for (std::size_t i = 0; i < files.size(); ++i)
        {
            const GameFile& file = files[i];
            if (file.nLoadedFile >= 0 ||
                (!bAll && (file.nType != selection.nType ||
                           !StartsWithNoCaseAscii(file.strSubPath, selection.strSubPath))))
                continue;
            ++m_nUnfiltered;
            if (!PassesFilter(pFilter, file.Name()))
                continue;
            m_rows.push_back({static_cast<int>(i), false});
            if (bShowHidden)
                for (const int nHidden : m_pFolder->HiddenBy(static_cast<int>(i)))
                    m_rows.push_back({nHidden, true});
        }
    }
    endResetModel();
}

int CGameFolderListModel::FileOfRow(int nRow) const
{
    if (nRow < 0 || nRow >= static_cast<int>(m_rows.size()) || ShowsIgnored())
        return -1;
    return m_rows[static_cast<std::size_t>(nRow)].nIndex;
}

bool CGameFolderListModel::IsHiddenCopyRow(int nRow) const
{
    return nRow >= 0 && nRow < static_cast<int>(m_rows.size()) &&
           m_rows[static_cast<std::size_t>(nRow)].bHidden;
}

int CGameFolderListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CGameFolderListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ShowsIgnored() ? 3 : 4;
}

Qt::ItemFlags CGameFolderListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return ShowsIgnored() ? flags : flags | Qt::ItemIsDragEnabled;
}

QString CGameFolderListModel::CellText(const Row& row, int nColumn) const
{
    if (ShowsIgnored())
    {
        const GameIgnored& ignored = m_pFolder->Ignored()[static_cast<std::size_t>(row.nIndex)];
        switch (nColumn)
        {
        case COLUMN_NAME:
            return QString::fromStdString(ignored.strPath);
        case COLUMN_WHY:
            return ReasonText(ignored.reason);
        case COLUMN_IGNORED_SOURCE:
            return SourceText(*m_pFolder, ignored.nSource);
        default:
            return {};
        }
    }
    const GameFile& file = m_pFolder->Files()[static_cast<std::size_t>(row.nIndex)];
    switch (nColumn)
    {
    case COLUMN_NAME:
    {
        // Below the selected sub path a file names the rest of its own; with every file
        // shown, its type folder too.
        QString name = QString::fromStdString(
            file.strSubPath.substr(std::min(file.strSubPath.size(), m_selection.strSubPath.size())) +
            std::string(file.Name()));
        if (m_selection.eKind == GameListSelection::Kind::All)
            name += QStringLiteral(" in %1").arg(
                QString::fromUtf8(GetGamePathType(file.nType).szPath));
        return row.bHidden ? QStringLiteral("    ") + name : name;
    }
    case COLUMN_SIZE:
        return QString::fromStdString(::FormatFileSize(file.nSize, m_bAsKB));
    case COLUMN_TIME:
        return QString::fromStdString(::FormatFileTime(ClampTime(file.tTime)));
    case COLUMN_SOURCE:
    {
        const QString source = SourceText(*m_pFolder, file.nSource);
        if (row.bHidden)
            return QStringLiteral("%1 (%2)").arg(
                source, m_pFolder->IsOverride(file.nLoadedFile, row.nIndex)
                            ? QStringLiteral("override")
                            : QStringLiteral("shadow"));
        const std::size_t nHides = m_pFolder->HiddenBy(row.nIndex).size();
        if (nHides > 0)
            return QStringLiteral("%1 (hides %2)").arg(source).arg(nHides);
        return source;
    }
    default:
        return {};
    }
}

QString CGameFolderListModel::ToolTip(const Row& row) const
{
    if (ShowsIgnored())
        return ReasonText(m_pFolder->Ignored()[static_cast<std::size_t>(row.nIndex)].reason);
    const GameFile& file = m_pFolder->Files()[static_cast<std::size_t>(row.nIndex)];
    auto kind = [&](int nLoaded, int nHidden)
    {
        return m_pFolder->IsOverride(nLoaded, nHidden) ? QStringLiteral("override")
                                                       : QStringLiteral("shadow");
    };
    if (row.bHidden)
        return QStringLiteral("Hidden (%1) by %2")
            .arg(kind(file.nLoadedFile, row.nIndex),
                 QString::fromStdString(m_pFolder->Location(file.nLoadedFile)));
    const std::vector<int> hides = m_pFolder->HiddenBy(row.nIndex);
    QString text = QStringLiteral("Loaded from %1")
                       .arg(QString::fromStdString(m_pFolder->Location(row.nIndex)));
    if (!hides.empty())
        text += QStringLiteral("\nHides, in the game's order:");
    for (const int nHidden : hides)
        text += QStringLiteral("\n  %1: %2").arg(kind(row.nIndex, nHidden),
                                                 QString::fromStdString(m_pFolder->Location(nHidden)));
    return text;
}

QVariant CGameFolderListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || !m_pFolder)
        return {};
    const int nRow = index.row();
    const int nColumn = index.column();
    if (nRow < 0 || nRow >= rowCount() || nColumn < 0 || nColumn >= columnCount())
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(nRow)];
    switch (role)
    {
    case Qt::DisplayRole:
        return CellText(row, nColumn);
    case Qt::ToolTipRole:
        return ToolTip(row);
    case Qt::DecorationRole:
        if (nColumn != COLUMN_NAME || row.bHidden)
            return {};
        return m_documentPicture;
    case Qt::ForegroundRole:
        if (row.bHidden)
            return QColor(Qt::gray);
        return {};
    case Qt::FontRole:
        // A row that hides other copies stands out: that is where a change may not show.
        if (!ShowsIgnored() && !row.bHidden &&
            m_pFolder->Files()[static_cast<std::size_t>(row.nIndex)].nNextCopy >= 0)
        {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (!ShowsIgnored() && nColumn == COLUMN_SIZE)
            return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CGameFolderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>((!ShowsIgnored() && section == COLUMN_SIZE ? Qt::AlignRight
                                                                            : Qt::AlignLeft) |
                                Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (ShowsIgnored())
    {
        static const char* const kIgnored[] = {"File", "Why the game ignores it", "Source"};
        return QString::fromLatin1(kIgnored[section]);
    }
    static const char* const kFiles[] = {"Filename", "Size", "Date & Time", "Source"};
    return QString::fromLatin1(kFiles[section]);
}
