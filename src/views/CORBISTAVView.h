#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QPixmap>
#include <QTableView>

#include "ArchiveLimits.h"
#include "CFileListModel.h"

class CORBISTAVDoc;
class IFileListHost;
class QItemSelection;
class QMimeData;
struct AppSettings;

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

    // The width that shows every column of a .VP whole, with the scroll bar beside them.
    int WholeColumnsWidth() const;

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

    std::array<std::int32_t, MAX_FILES> m_aRowIsFolder{};
    std::array<std::int32_t, MAX_FILES> m_aRowIndex{};

protected:
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    // Rows are appended while a fill runs; past the arrays' end they are dropped.
    bool AddRow(int& nRow, bool bFolder, int nIndex);
    void BeginFill();
    void EndFill(int nRows, CFileListModel::RowText eText);
    void OnItemChanged();

    CORBISTAVDoc& m_doc;
    const AppSettings& m_settings;
    IFileListHost& m_host;
    CFileListModel* m_pModel;
};
