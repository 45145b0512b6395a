#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QPixmap>
#include <QTableView>

#include "ArchiveLimits.h"
#include "CFileListModel.h"
#include "NameFilter.h"

class CArchiveEditList;
class CEditListModel;
class CGameFolder;
class CGameFolderListModel;
class CORBISTAVDoc;
class IFileListHost;
struct GameListSelection;
class QItemSelection;
class QMimeData;
struct AppSettings;
struct EditListSelection;

// The file list on the right: one directory, all files, or the files of one type, as
// the directory tree asks. Row r shows record m_aRowIndex[r] of the document.
class CORBISTAVView : public QTableView
{
    Q_OBJECT

public:
    CORBISTAVView(CORBISTAVDoc& doc, const AppSettings& settings, IFileListHost& host,
                  const QPixmap& folderPicture, const QPixmap& documentPicture,
                  QWidget* pParent = nullptr);
    ~CORBISTAVView() override;

    // Columns of the current archive kind; with no archive, the one hint row.
    void SetupColumns();
    // .VP: the subdirectories and files of directory nDir, or every file for -1.
    void ShowDirectory(int nDir);
    // .VPP: the files of type nType, or every file for -1.
    void ShowType(int nType);

    // A game folder's rows instead of the archive's, until SetupColumns or a null folder
    // (CORBISTAVViewGame.cpp). The folder stays the caller's.
    void ShowGameFolder(const CGameFolder* pFolder);
    bool ShowsGameFolder() const { return m_bGameFolder; }
    // The rows of a type folder, of all files or of the ignored ones.
    void ShowGameRows(const GameListSelection& selection);
    // The copies each loaded file hides, greyed below it.
    void SetShowHiddenCopies(bool bShow);
    CGameFolderListModel* GameRows() const { return m_pGameModel; }

    // An archive's rows as they would be saved, in place of its stored rows, until
    // SetupColumns or a null list (CORBISTAVViewEdit.cpp). The list stays the caller's.
    void ShowEditList(const CArchiveEditList* pList);
    bool ShowsEditList() const { return m_pEditList != nullptr; }
    void ShowEditRows(const EditListSelection& selection);
    CEditListModel* EditRows() const { return m_pEditModel; }

    // The columns' widths for an archive kind (.VP or .VPP): as the user left them while the
    // kind is shown, else as last set or shown, else the defaults scaled to the font.
    std::vector<int> ColumnWidths(int nKind) const;
    // Taken by the next SetupColumns of that kind; a list of another length is ignored.
    void SetColumnWidths(int nKind, const std::vector<int>& widths);

    // The width that shows every column of a .VP whole, with the scroll bar beside them.
    int WholeColumnsWidth() const;

    // Narrows what every fill shows to the rows whose name passes the filter (see
    // NameFilter), and fills again at once; an empty text shows every row.
    void SetFilter(const QString& text);
    bool IsFiltered() const { return !m_filter.IsEmpty() || m_bFilterUnmatchable; }
    // The rows the last fill would have shown without the filter.
    int UnfilteredRowCount() const { return m_nUnfilteredRows; }

    int RowCount() const;
    std::vector<int> SelectedRows() const;
    // Exactly one row selected; cheap enough for the idle-time command rules.
    bool HasSingleSelectedRow() const;
    // Folder rows too; the current row stays where it is.
    void SelectAllRows();

    QString FormatFileSize(std::int64_t nSize) const;
    static QString FormatFileTime(std::int32_t tTime);

    // What a drag of the selected rows hands over: the files the host wrote for it, as
    // URLs; null when it wrote none. Apart from startDrag, whose drag blocks.
    std::unique_ptr<QMimeData> DragMimeData();

    // Left uninitialised: only the rows filled are ever read, and clearing 128 KB would
    // touch every page of them before the window shows.
    std::array<std::int32_t, MAX_FILES> m_aRowIsFolder;
    std::array<std::int32_t, MAX_FILES> m_aRowIndex;

signals:
    // After every fill of an archive's rows.
    void Filled();
    // Right-click or the Menu key: where the context menu should open.
    void ContextMenuAsked(const QPoint& globalPos);

protected:
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    // Rows are appended while a fill runs; past the arrays' end they are dropped.
    bool AddRow(int& nRow, bool bFolder, int nIndex);
    bool Passes(const std::string& name);
    // Stored for the kind, else its defaults scaled to the font.
    std::vector<int> StoredColumnWidths(int nKind) const;
    void BeginFill();
    void EndFill(int nRows, CFileListModel::RowText eText);
    void OnItemChanged();
    // The model shown, with its own selection.
    void UseModel(QAbstractItemModel* pModel);
    void FillGameRows(const GameListSelection& selection);

    void FillEditRows(const EditListSelection& selection);
    void OnEditItemChanged();

    CORBISTAVDoc& m_doc;
    const AppSettings& m_settings;
    IFileListHost& m_host;
    CFileListModel* m_pModel;

    NameFilter m_filter;
    // A typed character that no stored name can hold: nothing passes.
    bool m_bFilterUnmatchable = false;
    int m_nUnfilteredRows = 0;
    // Per archive kind; empty for the defaults.
    std::array<std::vector<int>, 3> m_aColumnWidths;
    // What the last fill showed, so that a new filter can fill again.
    enum class Fill
    {
        None,
        Directory,
        Type,
    };
    Fill m_eLastFill = Fill::None;
    int m_nLastFillArgument = 0;

    CGameFolderListModel* m_pGameModel = nullptr; // made with the first game folder
    bool m_bGameFolder = false;
    bool m_bShowHiddenCopies = false;
    std::vector<int> m_aGameColumnWidths;
    QPixmap m_documentPicture;
    QPixmap m_folderPicture;
    CEditListModel* m_pEditModel = nullptr; // made with the first edit
    const CArchiveEditList* m_pEditList = nullptr;
};
