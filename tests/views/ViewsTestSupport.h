#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QStringList>
#include <QTest>
#include <QTreeWidgetItem>

#include "CLeftView.h"
#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "IFileListHost.h"
#include "Settings.h"

// Records what the file list asks of the frame; counts selected rows as the frame does
// unless a test fixes the count.
struct FakeHost : IFileListHost
{
    std::vector<std::pair<int, bool>> previews;
    int nOpens = 0;
    int nFixedCount = -1;
    const CORBISTAVView* pList = nullptr;

    void PreviewEntry(int nFile, bool bForce) override { previews.emplace_back(nFile, bForce); }
    void OnOpenSelected() override { ++nOpens; }
    int CountSelectedRows() const override
    {
        if (nFixedCount >= 0 || !pList)
            return nFixedCount;
        return static_cast<int>(pList->SelectedRows().size());
    }
};

inline QPixmap SolidPicture(Qt::GlobalColor color)
{
    QPixmap picture(16, 16);
    picture.fill(color);
    return picture;
}

// Both views over one document, wired as the main frame wires them.
struct ViewsFixture
{
    std::unique_ptr<CORBISTAVDoc> doc = std::make_unique<CORBISTAVDoc>();
    AppSettings settings;
    FakeHost host;
    CORBISTAVView list{*doc, settings, host, SolidPicture(Qt::yellow), SolidPicture(Qt::blue)};
    CLeftView tree{*doc, list};

    ViewsFixture()
    {
        host.pList = &list;
        list.resize(600, 400);
        tree.resize(275, 400);
    }

    // What the frame does after a read: columns first, then the tree, which fills the list.
    void Load(const std::vector<unsigned char>& bytes, const std::string& path = "/x/test.vp")
    {
        CMemorySource source(bytes);
        doc->Serialize(source, path);
        list.SetupColumns();
        tree.Rebuild();
    }

    QString Text(int nRow, int nColumn) const
    {
        return list.model()->index(nRow, nColumn).data().toString();
    }
    QStringList Column(int nColumn) const
    {
        QStringList texts;
        for (int r = 0; r < list.RowCount(); ++r)
            texts << Text(r, nColumn);
        return texts;
    }
    QStringList Headers() const
    {
        QStringList texts;
        for (int c = 0; c < list.model()->columnCount(); ++c)
            texts << list.model()->headerData(c, Qt::Horizontal).toString();
        return texts;
    }
    std::vector<int> RowIndices() const
    {
        return std::vector<int>(list.m_aRowIndex.begin(),
                                list.m_aRowIndex.begin() + list.RowCount());
    }
    std::vector<int> RowFolders() const
    {
        return std::vector<int>(list.m_aRowIsFolder.begin(),
                                list.m_aRowIsFolder.begin() + list.RowCount());
    }
    void Show()
    {
        list.show();
        tree.show();
        (void)QTest::qWaitForWindowExposed(&list);
        (void)QTest::qWaitForWindowExposed(&tree);
    }
    QPoint RowCentre(int nRow) const
    {
        return list.visualRect(list.model()->index(nRow, 0)).center();
    }
    void ClickRow(int nRow, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, RowCentre(nRow));
    }
};

// The tree's items in display order, one text per item, indented two blanks per level.
inline void CollectTreeTexts(const QTreeWidgetItem* pItem, int nDepth, QStringList& texts)
{
    texts << QString(nDepth * 2, QLatin1Char(' ')) + pItem->text(0);
    for (int i = 0; i < pItem->childCount(); ++i)
        CollectTreeTexts(pItem->child(i), nDepth + 1, texts);
}

inline QStringList TreeTexts(const QTreeWidget& tree)
{
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        CollectTreeTexts(tree.topLevelItem(i), 0, texts);
    return texts;
}
