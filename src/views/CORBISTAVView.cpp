#include "CORBISTAVView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLoggingCategory>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QUrl>

#include "CEditListModel.h"
#include "CGameFolderListModel.h"
#include "CORBISTAVDoc.h"
#include "CRowDelegate.h"
#include "DialogUnits.h"
#include "FileListFormat.h"
#include "IFileListHost.h"
#include "Settings.h"
#include "TextEncoding.h"

namespace
{
// Diagnostics stay silent unless QT_LOGGING_RULES asks for them.
Q_LOGGING_CATEGORY(lcFileList, "orbistav.filelist", QtWarningMsg)

struct KindWidths
{
    int nCount;
    int aWidth[4];
};

KindWidths WidthsOfKind(int nKind)
{
    switch (nKind)
    {
    case ARCHIVE_KIND_VP:
        return {4, {200, 120, 70, 100}};
    case ARCHIVE_KIND_VPP:
        return {3, {200, 120, 70, 0}};
    default:
        return {1, {300, 0, 0, 0}};
    }
}

// White is the transparent colour of the list's pictures.
QPixmap WhiteTransparent(const QPixmap& picture)
{
    if (picture.isNull())
        return picture;
    QPixmap result = picture;
    result.setMask(result.createMaskFromColor(Qt::white, Qt::MaskInColor));
    return result;
}

int KnownKind(int nKind)
{
    return nKind == ARCHIVE_KIND_VP || nKind == ARCHIVE_KIND_VPP ? nKind : ARCHIVE_KIND_NONE;
}
} // namespace

CORBISTAVView::CORBISTAVView(CORBISTAVDoc& doc, const AppSettings& settings, IFileListHost& host,
                             const QPixmap& folderPicture, const QPixmap& documentPicture,
                             QWidget* pParent)
    : QTableView(pParent), m_doc(doc), m_settings(settings), m_host(host),
      m_pModel(new CFileListModel(doc, m_aRowIsFolder.data(), m_aRowIndex.data(), this))
{
    m_documentPicture = WhiteTransparent(documentPicture);
    m_folderPicture = WhiteTransparent(folderPicture);
    m_pModel->SetPictures(WhiteTransparent(folderPicture), m_documentPicture);
    setModel(m_pModel);
    setItemDelegate(new CRowDelegate(this));

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setIconSize(QSize(16, 16));
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setShowGrid(m_settings.m_bInterfaceShowGrid != 0);
    // Files go out as copies; nothing is ever dropped into an archive.
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);

    QHeaderView* pRows = verticalHeader();
    pRows->hide();
    // Without the minimum the style keeps rows about 30 pixels high.
    pRows->setMinimumSectionSize(1);
    pRows->setDefaultSectionSize(std::max(fontMetrics().height(), iconSize().height()) + 4);
    pRows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* pColumns = horizontalHeader();
    pColumns->setSectionsClickable(false);
    pColumns->setSectionsMovable(false);
    pColumns->setHighlightSections(false);
    pColumns->setStretchLastSection(false);
    pColumns->setSectionResizeMode(QHeaderView::Interactive);
    pColumns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnItemChanged(); });

    SetupColumns();
}

CORBISTAVView::~CORBISTAVView() = default;

void CORBISTAVView::SetupColumns()
{
    if (m_pEditList)
        ShowEditList(nullptr);
    if (m_bGameFolder)
        ShowGameFolder(nullptr);
    const int nKind = KnownKind(m_doc.m_nArchiveKind);
    const int nOldKind = m_pModel->ColumnKind();
    if (nOldKind != ARCHIVE_KIND_NONE)
        m_aColumnWidths[static_cast<std::size_t>(nOldKind)] = ColumnWidths(nOldKind);
    const std::vector<int> widths = StoredColumnWidths(nKind);
    // The rows of the previous archive point into tables that were just read anew, so
    // they go with the old columns.
    m_pModel->BeginFill();
    m_eLastFill = Fill::None;
    m_nUnfilteredRows = 0;
    int nRows = 0;
    auto eText = CFileListModel::RowText::Name;
    if (nKind == ARCHIVE_KIND_NONE)
    {
        // The hint row is no file: anything that maps it finds the root directory.
        m_aRowIsFolder[0] = 1;
        m_aRowIndex[0] = 0;
        nRows = 1;
        eText = CFileListModel::RowText::Hint;
    }
    m_pModel->EndFill(nKind, nRows, eText, m_settings.m_bInterfaceDisplayAsKB != 0);

    for (std::size_t i = 0; i < widths.size(); ++i)
        horizontalHeader()->resizeSection(static_cast<int>(i), widths[i]);
    emit Filled();
}

void CORBISTAVView::BeginFill()
{
    m_nUnfilteredRows = 0;
    m_pModel->BeginFill();
    // Here rather than once, so that a changed grid setting shows at the next fill.
    setShowGrid(m_settings.m_bInterfaceShowGrid != 0);
}

void CORBISTAVView::EndFill(int nRows, CFileListModel::RowText eText)
{
    m_pModel->EndFill(m_pModel->ColumnKind(), nRows, eText,
                      m_settings.m_bInterfaceDisplayAsKB != 0);
    emit Filled();
}

bool CORBISTAVView::AddRow(int& nRow, bool bFolder, int nIndex)
{
    if (nRow >= MAX_FILES)
        return false;
    m_aRowIsFolder[nRow] = bFolder ? 1 : 0;
    m_aRowIndex[nRow] = nIndex;
    ++nRow;
    return true;
}

bool CORBISTAVView::Passes(const std::string& name)
{
    ++m_nUnfilteredRows;
    return !m_bFilterUnmatchable && m_filter.Matches(name);
}

void CORBISTAVView::ShowDirectory(int nDir)
{
    m_eLastFill = Fill::Directory;
    m_nLastFillArgument = nDir;
    BeginFill();
    int nRows = 0;
    if (m_doc.m_nFileCount > 0)
    {
        if (nDir == -1)
        {
            bool bRoom = true;
            for (int f = 0; f < m_doc.m_nFileCount && bRoom; ++f)
                if (Passes(m_doc.m_files[f].strName))
                    bRoom = AddRow(nRows, false, f);
        }
        else if (nDir >= 0 && nDir < m_doc.m_nDirCount)
        {
            const ArchiveDir& dir = m_doc.m_dirs[nDir];
            const int nChildren = std::clamp(dir.nChildren, 0, MAX_SUBDIRS);
            const int nFiles = std::clamp(dir.nFiles, 0, MAX_FILES);
            bool bRoom = true;
            for (int i = 0; i < nChildren && bRoom; ++i)
            {
                const int c = dir.aChildren[i];
                if (c < 0 || c >= m_doc.m_nDirCount || Passes(m_doc.m_dirs[c].strName))
                    bRoom = AddRow(nRows, true, c);
            }
            for (int i = 0; i < nFiles && bRoom; ++i)
            {
                const int f = dir.aFiles[i];
                if (f < 0 || f >= m_doc.m_nFileCount || Passes(m_doc.m_files[f].strName))
                    bRoom = AddRow(nRows, false, f);
            }
        }
    }
    EndFill(nRows,
            nDir == -1 ? CFileListModel::RowText::NameInPath : CFileListModel::RowText::Name);
}

void CORBISTAVView::ShowType(int nType)
{
    m_eLastFill = Fill::Type;
    m_nLastFillArgument = nType;
    BeginFill();
    int nRows = 0;
    bool bRoom = true;
    for (int f = 0; f < m_doc.m_nFileCount && bRoom; ++f)
    {
        if ((nType == -1 || m_doc.m_files[f].nType == nType) && Passes(m_doc.m_files[f].strName))
            bRoom = AddRow(nRows, false, f);
    }
    EndFill(nRows, CFileListModel::RowText::Name);
}

void CORBISTAVView::SetFilter(const QString& text)
{
    const std::optional<std::string> bytes = ToCp1252(text.toStdU32String());
    m_bFilterUnmatchable = !bytes;
    m_filter = NameFilter(bytes.value_or(std::string()));
    if (m_pEditList)
        return FillEditRows(m_pEditModel->Selection());
    if (m_bGameFolder)
    {
        FillGameRows(m_pGameModel->Selection());
        return;
    }
    if (m_eLastFill == Fill::Directory)
        ShowDirectory(m_nLastFillArgument);
    else if (m_eLastFill == Fill::Type)
        ShowType(m_nLastFillArgument);
}

std::vector<int> CORBISTAVView::ColumnWidths(int nKind) const
{
    const KindWidths defaults = WidthsOfKind(KnownKind(nKind));
    const auto nCount = static_cast<std::size_t>(defaults.nCount);
    std::vector<int> widths;
    if (nKind != ARCHIVE_KIND_NONE && nKind == m_pModel->ColumnKind())
    {
        for (std::size_t i = 0; i < nCount; ++i)
            widths.push_back(horizontalHeader()->sectionSize(static_cast<int>(i)));
        return widths;
    }
    return StoredColumnWidths(nKind);
}

std::vector<int> CORBISTAVView::StoredColumnWidths(int nKind) const
{
    const KindWidths defaults = WidthsOfKind(KnownKind(nKind));
    const auto nCount = static_cast<std::size_t>(defaults.nCount);
    std::vector<int> widths;
    if (nKind != ARCHIVE_KIND_NONE &&
        m_aColumnWidths[static_cast<std::size_t>(nKind)].size() == nCount)
        return m_aColumnWidths[static_cast<std::size_t>(nKind)];
    for (std::size_t i = 0; i < nCount; ++i)
        widths.push_back(ScaleTextWidth(defaults.aWidth[i], font()));
    return widths;
}

void CORBISTAVView::SetColumnWidths(int nKind, const std::vector<int>& widths)
{
    if (KnownKind(nKind) != ARCHIVE_KIND_NONE && nKind != m_pModel->ColumnKind() &&
        widths.size() == static_cast<std::size_t>(WidthsOfKind(nKind).nCount))
        m_aColumnWidths[static_cast<std::size_t>(nKind)] = widths;
}

int CORBISTAVView::WholeColumnsWidth() const
{
    const KindWidths widths = WidthsOfKind(ARCHIVE_KIND_VP);
    int nWidth = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    for (int i = 0; i < widths.nCount; ++i)
        nWidth += ScaleTextWidth(widths.aWidth[i], font());
    return nWidth;
}

int CORBISTAVView::RowCount() const
{
    return model()->rowCount();
}

bool CORBISTAVView::HasSingleSelectedRow() const
{
    const int nRows = RowCount();
    int nFound = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection())
    {
        const int nFirst = std::max(range.top(), 0);
        const int nLast = std::min(range.bottom(), nRows - 1);
        if (nFirst > nLast)
            continue;
        if (nFirst != nLast || (nFound != -1 && nFound != nFirst))
            return false;
        nFound = nFirst;
    }
    return nFound != -1;
}

std::vector<int> CORBISTAVView::SelectedRows() const
{
    std::vector<int> rows;
    const int nRows = RowCount();
    for (const QItemSelectionRange& range : selectionModel()->selection())
    {
        const int nLast = std::min(range.bottom(), nRows - 1);
        for (int r = std::max(range.top(), 0); r <= nLast; ++r)
            rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CORBISTAVView::SelectAllRows()
{
    const int nRows = RowCount();
    if (nRows == 0)
        return;
    const QItemSelection all(model()->index(0, 0),
                             model()->index(nRows - 1, model()->columnCount() - 1));
    selectionModel()->select(all, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QString CORBISTAVView::FormatFileSize(std::int64_t nSize) const
{
    return QString::fromStdString(::FormatFileSize(nSize, m_settings.m_bInterfaceDisplayAsKB != 0));
}

QString CORBISTAVView::FormatFileTime(std::int32_t tTime)
{
    return QString::fromStdString(::FormatFileTime(tTime));
}

void CORBISTAVView::OnItemChanged()
{
    if (m_pEditList)
        return OnEditItemChanged();
    // The hint row stands for no record at all.
    if (!m_bGameFolder && m_pModel->ShowsHint())
        return;
    // Several selected rows never start a preview; stop looking at the second.
    int nFirst = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection())
    {
        for (int r = range.top(); r <= range.bottom(); ++r)
        {
            if (nFirst != -1 && r != nFirst)
                return;
            nFirst = r;
        }
    }
    if (nFirst < 0 || nFirst >= RowCount())
        return;
    if (m_bGameFolder)
    {
        if (const int nFile = m_pGameModel->FileOfRow(nFirst); nFile >= 0)
            m_host.PreviewEntry(nFile, false);
        return;
    }
    if (m_aRowIsFolder[nFirst])
    {
        qCDebug(lcFileList, "Selection is a dir!");
        return;
    }
    m_host.PreviewEntry(m_aRowIndex[nFirst], false);
}

void CORBISTAVView::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    QTableView::mouseDoubleClickEvent(pEvent);
    if (pEvent->button() == Qt::LeftButton && m_host.CountSelectedRows() == 1)
        m_host.OnOpenSelected();
}

std::unique_ptr<QMimeData> CORBISTAVView::DragMimeData()
{
    QList<QUrl> urls;
    for (const std::string& path : m_host.ExtractSelectionForDrag())
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    if (urls.isEmpty())
        return nullptr;
    auto pData = std::make_unique<QMimeData>();
    pData->setUrls(urls);
    return pData;
}

void CORBISTAVView::contextMenuEvent(QContextMenuEvent* pEvent)
{
    QPoint pos = pEvent->globalPos();
    // From the keyboard: below the current row, not where the pointer happens to be.
    if (pEvent->reason() == QContextMenuEvent::Keyboard)
    {
        const QRect row = visualRect(currentIndex());
        pos = viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
    }
    emit ContextMenuAsked(pos);
    pEvent->accept();
}

void CORBISTAVView::startDrag(Qt::DropActions)
{
    std::unique_ptr<QMimeData> pData = DragMimeData();
    if (!pData)
        return;
    auto* pDrag = new QDrag(this);
    pDrag->setMimeData(pData.release());
    pDrag->setPixmap(
        model()->index(currentIndex().row(), 0).data(Qt::DecorationRole).value<QPixmap>());
    pDrag->exec(Qt::CopyAction, Qt::CopyAction);
}
