#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "CLeftView.h"
#include "CORBISTAVView.h"
#include "COwnerDrawMenu.h"
#include "CStaticSplitter.h"
#include "GuiTestSupport.h"
#include "TempDir.h"
#include "VppBuilder.h"
#include "WindowLayout.h"

namespace fs = std::filesystem;

namespace
{
struct FilterTest : GuiTest
{
    CORBISTAVView* List() const { return Frame().GetListView(); }
    QStringList Rows() const
    {
        QStringList rows;
        for (int r = 0; r < List()->model()->rowCount(); ++r)
            rows << List()->model()->index(r, 0).data().toString();
        return rows;
    }
    void Type(const QString& text) const
    {
        Frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_EQ(QApplication::focusWidget(), Frame().FilterField());
        QTest::keyClicks(Frame().FilterField(), text);
    }
    void ShowTreeItem(int nTopLevel, int nChild = -1) const
    {
        QTreeWidget* pTree = Frame().GetTreeView();
        QTreeWidgetItem* pItem = pTree->topLevelItem(nTopLevel);
        pTree->setCurrentItem(nChild < 0 ? pItem : pItem->child(nChild));
    }
    void SelectRow(int nRow) const
    {
        List()->selectionModel()->select(List()->model()->index(nRow, 0),
                                         QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
    }
    QStringList ListMenuTexts() const
    {
        Frame().Commands().UpdateAll();
        QStringList texts;
        for (QAction* pAction : Frame().ListMenu()->actions())
            texts << (pAction->isSeparator()
                          ? QStringLiteral("-")
                          : pAction->text() + (pAction->isEnabled() ? "" : " (disabled)"));
        return texts;
    }
};

VpBuilder ModTree()
{
    VpBuilder vp;
    vp.Dir("data")
        .Dir("tables")
        .File("ships.tbl", "#Ships")
        .File("weapons.tbl", "#Weapons")
        .File("Shipsounds.tbl", "#Sounds")
        .Up()
        .Dir("shipmaps")
        .File("nebula.pcx", "pcx")
        .Up()
        .Up();
    return vp;
}
} // namespace

TEST_F(FilterTest, FilterNarrowsEveryViewAndExtractionTakesTheShownRows)
{
    ModTree().WriteTo(world / "mod.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "mod.vp")));
    ShowTreeItem(0, 0); // \data\tables
    Type("SHIP");
    EXPECT_EQ(Rows(), QStringList({"ships.tbl", "Shipsounds.tbl"}));
    EXPECT_EQ(StatusPane(1), "2 of 3 files shown");
    EXPECT_TRUE(Frame().FilterField()->isClearButtonEnabled());

    // It stays across tree selections: \data shows its folders by name too, and all files.
    ShowTreeItem(0);
    EXPECT_EQ(Rows(), QStringList({"shipmaps"}));
    ShowTreeItem(1);
    EXPECT_EQ(Rows(),
              QStringList({"ships.tbl in \\data\\tables", "Shipsounds.tbl in \\data\\tables"}));
    EXPECT_EQ(StatusPane(1), "2 of 4 files shown");

    // A wildcard matches the whole name.
    Frame().FilterField()->setText("s?ips*.tbl");
    EXPECT_EQ(Rows().size(), 2);
    Frame().FilterField()->setText("*.tb");
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_FALSE(Frame().Commands().IsEnabled(ID_EXTRACT_TO_DIR));

    // Ctrl+A and extraction act on the shown rows only.
    Frame().FilterField()->setText("ships.");
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL));
    const std::string out = world / "out";
    fs::create_directories(out);
    platform.folderAnswers = {QString::fromStdString(out)};
    ASSERT_TRUE(Frame().Commands().Run(ID_EXTRACT_TO_DIR));
    EXPECT_EQ(StatusPane(0), QString::fromStdString("1 files extracted to " + out));
    EXPECT_TRUE(fs::exists(out + "/ships.tbl"));
    EXPECT_FALSE(fs::exists(out + "/weapons.tbl"));

    // Esc clears it.
    QTest::keyClick(Frame().FilterField(), Qt::Key_Escape);
    EXPECT_EQ(Frame().FilterField()->text(), "");
    EXPECT_EQ(Rows().size(), 4);
    EXPECT_EQ(StatusPane(1), " ");
}

TEST_F(FilterTest, FilterNarrowsTheTypesOfAVpp)
{
    VppBuilder().File("a.tga", "a").File("b.wav", "b").File("c.TGA", "c").WriteTo(world / "s.vpp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "s.vpp")));
    Type("C");
    ShowTreeItem(0, 0); // TGA files
    EXPECT_EQ(Rows(), QStringList({"c.TGA"}));
    ShowTreeItem(0);
    EXPECT_EQ(Rows(), QStringList({"c.TGA"}));
    Frame().FilterField()->setText("\u20ac"); // no stored name can hold it
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(StatusPane(1), "0 of 3 files shown");
}

TEST_F(FilterTest, ContextMenuOffersTheSelectionsCommandsByTheirRules)
{
    ModTree().WriteTo(world / "mod.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "mod.vp")));
    ShowTreeItem(0, 0);
    EXPECT_EQ(ListMenuTexts(),
              QStringList({"&Open selected file (disabled)", "Extract to &Dir",
                           "Extract to FREESPACE D&ata dir (disabled)", "-",
                           "&Play / Preview (disabled)", "S&top / Close Preview (disabled)", "-",
                           "Copy &name (disabled)", "Copy archive &path (disabled)", "-",
                           "Add &Files...", "Add F&older...", "New Fol&der...",
                           "Re&name... (disabled)", "&Delete (disabled)"}));
    // Same accelerators and pictures as the Action menu.
    EXPECT_EQ(Frame().ListMenu()->actions()[0]->shortcut(), QKeySequence(Qt::Key_F3));
    const COwnerDrawMenu* pLook = app->Menu()->FindPopup(Frame().ListMenu());
    ASSERT_NE(pLook, nullptr);
    EXPECT_GE(pLook->FindItem(Frame().ListMenu()->actions()[0])->nImage, 0);
    EXPECT_EQ(pLook->FindItem(Frame().ListMenu()->actions()[7])->nImage, -1);

    SelectRow(0);
    const QStringList texts = ListMenuTexts();
    EXPECT_EQ(texts[0], "&Open selected file");
    EXPECT_EQ(texts[7], "Copy &name");
    Frame().Commands().Run(ID_COPY_NAME);
    EXPECT_EQ(QApplication::clipboard()->text(), "ships.tbl");
    Frame().Commands().Run(ID_COPY_ARCHIVE_PATH);
    EXPECT_EQ(QApplication::clipboard()->text(), "\\data\\tables\\ships.tbl");

    // The Menu key opens it below the current row.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(List()->viewport(), &key);
    EXPECT_TRUE(Frame().ListMenu()->isVisible());
    Frame().ListMenu()->close();
}

TEST_F(FilterTest, LayoutIsStoredAtTheEndAndRestoredWhereItFits)
{
    ModTree().WriteTo(world / "mod.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "mod.vp")));
    const QRect first = Frame().geometry();
    Frame().setGeometry(QRect(30, 40, 700, 500));
    Frame().MainSplitter()->SetPaneInfo(0, 222, 100);
    Frame().LeftSplitter()->SetPaneInfo(0, 333, 0);
    List()->horizontalHeader()->resizeSection(1, 77);
    Frame().close();

    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().geometry(), QRect(30, 40, 700, 500));
    EXPECT_EQ(Frame().MainSplitter()->sizes().value(0), 222);
    EXPECT_EQ(Frame().LeftSplitter()->sizes().value(0), 333);
    ASSERT_TRUE(app->OpenDocumentFile(QString::fromStdString(world / "mod.vp")));
    EXPECT_EQ(List()->horizontalHeader()->sectionSize(1), 77);
    // The .VPP kind kept its own widths.
    EXPECT_EQ(List()->ColumnWidths(ARCHIVE_KIND_VPP).size(), 3u);
    EXPECT_NE(List()->ColumnWidths(ARCHIVE_KIND_VPP)[1], 77);
    app.reset();

    // A window stored for a larger screen than this one starts where a first one does.
    WindowLayout wide = *WindowLayout::Load();
    wide.geometry = QRect(-3000, 0, 5000, 500);
    wide.Save();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().geometry(), first);

    // A maximised window comes back maximised, with the size it had before.
    Frame().setGeometry(QRect(30, 40, 700, 500));
    Frame().showMaximized();
    Frame().close();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_EQ(WindowLayout::Load()->geometry, QRect(30, 40, 700, 500));
}
