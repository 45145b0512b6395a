#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QPixmap>

#include "ArchiveEditNode.h"

class CArchiveEditList;
class NameFilter;

// What the file list shows of an archive being edited: one directory, every file, or the
// files of one type (.VPP).
struct EditListSelection
{
    enum class Kind
    {
        Directory,
        All,
        Type,
    } eKind = Kind::All;
    std::string strDir; // Directory: "\data\tables", "" for the root (Windows-1252)
    int nType = -1;     // Type
};

// One row of the list over an archive being edited.
struct EditListRow
{
    bool bFolder = false;
    std::string strDir;  // where it stands (Windows-1252)
    std::string strName; // Windows-1252
    std::int64_t nSize = 0;
    std::int32_t tTime = 0;
    EditState state = EditState::Unchanged;

    std::string Path() const { return strDir + "\\" + strName; }
};

// The file or directory a path names ("\data\tables\ships.tbl"), found as the games find names:
// without regard to case; null when there is none.
const ArchiveEditNode* FindEditNode(const ArchiveEditNode& root, const std::string& path);
// How a row or a tree directory in a given state looks, for the colour, font and tool tip
// roles; nothing for the others and for what is unchanged.
QVariant EditStateLook(EditState state, int role);

// The file list's rows while an archive is edited: the archive as it would be saved, with
// added and replaced files marked until they are.
class CEditListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // What a row's pending change is, as an EditState number, in this role.
    static constexpr int kEditStateRole = Qt::UserRole + 1;

    explicit CEditListModel(QObject* pParent = nullptr);

    void SetPictures(const QPixmap& folderPicture, const QPixmap& documentPicture);
    // The rows of the selection that pass the filter; with bPassNothing none does (a typed
    // character no stored name can hold).
    void Fill(const CArchiveEditList& list, const EditListSelection& selection,
              const NameFilter& filter, bool bPassNothing, bool bAsKB);
    void Clear();

    const EditListSelection& Selection() const { return m_selection; }
    // Null for a row that is not there.
    const EditListRow* Row(int nRow) const;
    int UnfilteredRowCount() const { return m_nUnfiltered; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString CellText(const EditListRow& row, int nColumn) const;

    std::vector<EditListRow> m_rows;
    EditListSelection m_selection;
    QPixmap m_folderPicture;
    QPixmap m_documentPicture;
    int m_nColumns = 4;
    int m_nUnfiltered = 0;
    bool m_bAsKB = true;
};
