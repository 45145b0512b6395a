#pragma once

#include <cstdint>

#include <QAbstractTableModel>
#include <QPixmap>

class CORBISTAVDoc;

// The file list's rows over the view's row arrays. Texts are made on demand, so a fill
// costs no more than writing the arrays, however many rows it has.
class CFileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // What column 0 of a file row shows.
    enum class RowText
    {
        Name,       // the file's name
        NameInPath, // "<name> in <directory path>"
        Hint,       // the single hint row of an empty list
    };

    CFileListModel(const CORBISTAVDoc& doc, const std::int32_t* pRowIsFolder,
                   const std::int32_t* pRowIndex, QObject* pParent = nullptr);

    void SetPictures(const QPixmap& folderPicture, const QPixmap& documentPicture);

    // The row arrays may change between BeginFill and EndFill only.
    void BeginFill();
    void EndFill(int nColumnKind, int nRows, RowText eText, bool bAsKB);

    int ColumnKind() const { return m_nColumnKind; }
    bool ShowsHint() const { return m_eText == RowText::Hint; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int ColumnCountOfKind(int nColumnKind);
    static QString HintText();

private:
    QString CellText(int nRow, int nColumn) const;

    const CORBISTAVDoc& m_doc;
    const std::int32_t* m_pRowIsFolder;
    const std::int32_t* m_pRowIndex;
    QPixmap m_folderPicture;
    QPixmap m_documentPicture;
    int m_nColumnKind = 0;
    int m_nRows = 0;
    RowText m_eText = RowText::Name;
    bool m_bAsKB = true;
};
