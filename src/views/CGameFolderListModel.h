#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QPixmap>

class CGameFolder;
class NameFilter;

// What the tree asks the list to show of a game folder.
struct GameListSelection
{
    enum class Kind
    {
        All,        // every file the game loads
        TypeFolder, // the files of one type folder, below a sub path
        Ignored,    // the files the game never loads, with the reason
    };
    Kind eKind = Kind::All;
    int nType = 0;
    std::string strSubPath; // lower case, "glass/"; empty: the whole type folder
};

// The file list's rows of a game folder: one per file the game loads, in the engine's index
// order, and below a row that hides other copies those copies, greyed, when asked. Rows are
// a plain vector with no cap: an installation holds tens of thousands of files.
class CGameFolderListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CGameFolderListModel(QObject* pParent = nullptr);

    void SetPicture(const QPixmap& documentPicture);
    // The folder rows are made of; it stays the caller's and must outlive the rows. Null
    // empties the list.
    void SetFolder(const CGameFolder* pFolder);
    const CGameFolder* Folder() const { return m_pFolder; }

    // The rows of the selection whose name passes the filter (null: all), each loaded file
    // followed by the copies it hides when bShowHidden.
    void Fill(const GameListSelection& selection, const NameFilter* pFilter, bool bShowHidden,
              bool bAsKB);
    const GameListSelection& Selection() const { return m_selection; }
    // The rows the last fill would have shown without the filter.
    int UnfilteredRowCount() const { return m_nUnfiltered; }

    // The game file of a row; -1 for an ignored file's row or a row out of range.
    int FileOfRow(int nRow) const;
    bool IsHiddenCopyRow(int nRow) const;
    bool ShowsIgnored() const { return m_selection.eKind == GameListSelection::Kind::Ignored; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // "MyMod/mymod.vp", or "MyMod (loose files)"; the game folder's own loose files say so.
    static QString SourceText(const CGameFolder& folder, int nSource);

private:
    struct Row
    {
        int nIndex;   // a file, or an ignored file's entry
        bool bHidden; // a copy hidden by the row above that loads
    };
    QString CellText(const Row& row, int nColumn) const;
    QString ToolTip(const Row& row) const;

    const CGameFolder* m_pFolder = nullptr;
    std::vector<Row> m_rows;
    GameListSelection m_selection;
    int m_nUnfiltered = 0;
    bool m_bAsKB = true;
    QPixmap m_documentPicture;
};
