#include <gtest/gtest.h>

#include <QSignalSpy>

#include "FileTypes.h"
#include "FullArchives.h"
#include "ViewsTestSupport.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace
{
struct ViewsDirectoryTree : ::testing::Test, ViewsFixture
{
    QTreeWidgetItem* Item(int nDir) const
    {
        return static_cast<QTreeWidgetItem*>(doc->m_dirs[nDir].hTreeItem);
    }
    QTreeWidgetItem* AllFiles() const
    {
        return static_cast<QTreeWidgetItem*>(doc->m_hAllFilesItem);
    }
    // A click of the user's, which also makes the item current.
    void Select(QTreeWidgetItem* pItem) { tree.setCurrentItem(pItem); }
};

// data, data\tables, data\maps: four records with the root.
VpBuilder DataTablesMaps()
{
    VpBuilder vp;
    vp.File("readme.txt", "r")
        .Dir("data")
        .File("mission.fs2", "m")
        .Dir("tables")
        .File("ships.tbl", "s")
        .File("weapons.tbl", "w")
        .Up()
        .Dir("maps")
        .File("map.pcx", "p")
        .Up()
        .Up();
    return vp;
}

// Directory records with the root: 1 (no directory entries), 2, 3 (nested) or more.
VpBuilder WithRecords(int nRecords)
{
    VpBuilder vp;
    vp.File("root.txt", "r");
    if (nRecords >= 2)
        vp.Dir("data").File("in_data.txt", "d");
    if (nRecords >= 3)
        vp.Dir("sub").File("in_sub.txt", "s").Up();
    for (int d = 4; d <= nRecords; ++d)
        vp.Dir("more" + std::to_string(d)).File("more.txt", "m").Up();
    return vp;
}

bool AllExpanded(const QTreeWidgetItem* pItem)
{
    if (pItem->childCount() > 0 && !pItem->isExpanded())
        return false;
    for (int i = 0; i < pItem->childCount(); ++i)
    {
        if (!AllExpanded(pItem->child(i)))
            return false;
    }
    return true;
}
} // namespace

TEST_F(ViewsDirectoryTree, VpShowsDirectoriesWithTheirOwnFileCountsThenAllFiles)
{
    Load(DataTablesMaps().Bytes());
    EXPECT_EQ(TreeTexts(tree),
              (QStringList{"data (1)", "  tables (2)", "  maps (1)", "<All files>"}));
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        EXPECT_TRUE(AllExpanded(tree.topLevelItem(i)));
    EXPECT_EQ(Item(1), tree.topLevelItem(0));
    EXPECT_EQ(Item(2), tree.topLevelItem(0)->child(0));
    EXPECT_EQ(Item(3), tree.topLevelItem(0)->child(1));
    EXPECT_EQ(AllFiles(), tree.topLevelItem(1));
    EXPECT_EQ(Item(0), nullptr);

    // The first content is data's, and no item is selected for it.
    EXPECT_EQ(tree.m_nSelDir, 1);
    EXPECT_EQ(Column(0), (QStringList{"tables", "maps", "mission.fs2"}));
    EXPECT_TRUE(tree.selectedItems().isEmpty());
}

TEST_F(ViewsDirectoryTree, DirectoryHoldingOnlySubdirectoriesCountsZero)
{
    VpBuilder vp;
    vp.Dir("data").Dir("tables").File("ships.tbl", "s").Up().Up().Dir("c\xe9").Up();
    Load(vp.Bytes());
    EXPECT_EQ(TreeTexts(tree), (QStringList{"data (0)", "  tables (1)",
                                            QString::fromUtf8("c\xc3\xa9 (0)"), "<All files>"}));
}

TEST_F(ViewsDirectoryTree, FirstDirectoryDependsOnTheRecordCount)
{
    struct Case
    {
        int nRecords;
        int nFirst;
        const char* szFirstRow;
    };
    // Two records: the only directory besides the root.
    const Case cases[] = {{1, 0, "root.txt"},
                          {2, 1, "in_data.txt"},
                          {3, 2, "in_sub.txt"},
                          {4, 1, "sub"},
                          {6, 1, "sub"}};
    for (const Case& c : cases)
    {
        Load(WithRecords(c.nRecords).Bytes());
        ASSERT_EQ(doc->m_nDirCount, c.nRecords);
        EXPECT_EQ(tree.m_nSelDir, c.nFirst) << c.nRecords;
        EXPECT_EQ(Text(0, 0), c.szFirstRow) << c.nRecords;
    }
}

TEST_F(ViewsDirectoryTree, VppShowsOneTypeItemPerTypeInOrderOfFirstOccurrence)
{
    VppBuilder vpp;
    vpp.File("b.wav", "1").File("a.tga", "2").File("c.wav", "3").File("d.pcx", "4");
    Load(vpp.Bytes(), "/x/test.vpp");
    const auto typeItem = [](int t) { return "  " + QString::fromStdString(GetTypeDirName(t)); };
    EXPECT_EQ(TreeTexts(tree), (QStringList{"<All files>", typeItem(FILE_TYPE_WAV),
                                            typeItem(FILE_TYPE_TGA), typeItem(FILE_TYPE_PCX)}));
    EXPECT_TRUE(tree.topLevelItem(0)->isExpanded());
    EXPECT_EQ(tree.m_nSelDir, 0);
    EXPECT_EQ(Column(0), (QStringList{"b.wav", "a.tga", "c.wav", "d.pcx"}));
    EXPECT_TRUE(tree.selectedItems().isEmpty());

    Select(Item(1));
    EXPECT_EQ(tree.m_nSelDir, 1);
    EXPECT_EQ(Column(0), (QStringList{"b.wav", "c.wav"}));
    Select(AllFiles());
    EXPECT_EQ(tree.m_nSelDir, -1);
    EXPECT_EQ(list.RowCount(), 4);
}

TEST_F(ViewsDirectoryTree, SelectingAnItemRefillsTheList)
{
    Load(DataTablesMaps().Bytes());
    QSignalSpy fills(list.model(), &QAbstractItemModel::modelReset);

    Select(Item(2));
    EXPECT_EQ(tree.m_nSelDir, 2);
    EXPECT_EQ(Column(0), (QStringList{"ships.tbl", "weapons.tbl"}));

    Select(AllFiles());
    EXPECT_EQ(tree.m_nSelDir, -1);
    EXPECT_EQ(Column(0),
              (QStringList{"readme.txt in ", "mission.fs2 in \\data", "ships.tbl in \\data\\tables",
                           "weapons.tbl in \\data\\tables", "map.pcx in \\data\\maps"}));
    EXPECT_EQ(fills.count(), 2);

    // Choosing the item that is already chosen changes nothing.
    list.SelectAllRows();
    Select(AllFiles());
    EXPECT_EQ(fills.count(), 2);
    EXPECT_EQ(list.SelectedRows().size(), 5u);
}

TEST_F(ViewsDirectoryTree, RebuildFillsTheListOnceAndSelectsNothing)
{
    Load(DataTablesMaps().Bytes());
    Select(Item(3));
    QSignalSpy fills(list.model(), &QAbstractItemModel::modelReset);
    tree.Rebuild();
    EXPECT_EQ(fills.count(), 1);
    EXPECT_EQ(tree.m_nSelDir, 1);
    EXPECT_TRUE(tree.selectedItems().isEmpty());
}

TEST_F(ViewsDirectoryTree, SecondArchiveLeavesNoItemOfTheFirst)
{
    // The large archive fills records that the small ones reuse.
    Load(MakeFullVp(600).Bytes());
    ASSERT_EQ(doc->m_nDirCount, 501);

    Load(DataTablesMaps().Bytes());
    EXPECT_EQ(TreeTexts(tree),
              (QStringList{"data (1)", "  tables (2)", "  maps (1)", "<All files>"}));
    // Every item leads to its own directory.
    for (int d = 1; d < doc->m_nDirCount; ++d)
    {
        Select(Item(d));
        EXPECT_EQ(tree.m_nSelDir, d);
    }

    VppBuilder vpp;
    vpp.File("a.tga", "1").File("b.wav", "2");
    Load(vpp.Bytes(), "/x/test.vpp");
    EXPECT_EQ(Item(0), nullptr);
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 2);
    Select(Item(2));
    EXPECT_EQ(Column(0), QStringList{"b.wav"});
    Select(AllFiles());
    EXPECT_EQ(tree.m_nSelDir, -1);
    EXPECT_EQ(Column(0), (QStringList{"a.tga", "b.wav"}));

    // An item that belongs to no record is ignored.
    const std::int32_t nBefore = tree.m_nSelDir;
    doc->m_dirs[1].hTreeItem = nullptr;
    Select(tree.topLevelItem(0)->child(0));
    EXPECT_EQ(tree.m_nSelDir, nBefore);
}
