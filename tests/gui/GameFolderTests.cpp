#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CAutoPreview.h"
#include "CGameFolderListModel.h"
#include "CGameFolderTextures.h"
#include "CLeftView.h"
#include "CModsDialog.h"
#include "CORBISTAVView.h"
#include "GameFolderBuilder.h"
#include "GuiTestSupport.h"

namespace fs = std::filesystem;

namespace
{
struct GameFolderTest : GuiTest
{
    std::string game;

    void SetUp() override
    {
        GuiTest::SetUp();
        game = world / "fs2";
        // ships.tbl: the mod's loose copy overrides the game's; the mod's archive adds
        // weapons.tbl and a file in a folder the game does not know.
        GameFolderBuilder(game)
            .Archive("root_fs2.vp", {"data/tables/ships.tbl", "data/maps/hull.pcx"})
            .Loose("MyMod/data/tables/ships.tbl", "#Mod ships")
            .Archive("MyMod/mymod.vp", {"data/tables/weapons.tbl", "docs/readme.txt"})
            .Loose("Other/data/missions/m.fs2");
    }
    CORBISTAVView* List() const { return Frame().GetListView(); }
    QTreeWidgetItem* TreeItem(const QString& startsWith) const
    {
        const QList<QTreeWidgetItem*> found = Frame().GetTreeView()->findItems(
            startsWith, Qt::MatchStartsWith | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    void ShowNode(const QString& startsWith) const
    {
        QTreeWidgetItem* pItem = TreeItem(startsWith);
        ASSERT_NE(pItem, nullptr) << startsWith.toStdString();
        Frame().GetTreeView()->setCurrentItem(pItem);
    }
    QString Cell(int nRow, int nColumn, int nRole = Qt::DisplayRole) const
    {
        return List()->model()->index(nRow, nColumn).data(nRole).toString();
    }
    QStringList Column(int nColumn) const
    {
        QStringList cells;
        for (int r = 0; r < List()->model()->rowCount(); ++r)
            cells << Cell(r, nColumn);
        return cells;
    }
    void SelectRow(int nRow) const
    {
        List()->clearSelection();
        List()->selectionModel()->select(List()->model()->index(nRow, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

std::string Content(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST_F(GameFolderTest, MergedListShowsSourcesHiddenCopiesAndIgnoredFilesAndLeavesForAnArchive)
{
    ASSERT_TRUE(Start());
    // The folder main reads while Qt starts is the one shown when it is the one asked for.
    auto pPrepared = std::make_unique<CGameFolder>();
    ASSERT_TRUE(pPrepared->Open(game + "/", std::string("MyMod")));
    const CGameFolder* pShown = pPrepared.get();
    ASSERT_TRUE(Frame().OpenGameFolder(QString::fromStdString(game), QStringLiteral("MyMod"),
                                       std::move(pPrepared)));
    EXPECT_EQ(Frame().GameFolder(), pShown);
    EXPECT_EQ(Frame().windowTitle(),
              QString::fromStdString("Vantorel ORBISTAV - " + game + " with MyMod"));
    EXPECT_EQ(StatusPane(1), "3 files from 2 archives and 1 loose folder, 1 copy hidden");

    ShowNode("data/tables (2)");
    EXPECT_EQ(Column(0), QStringList({"ships.tbl", "weapons.tbl"}));
    EXPECT_EQ(Column(3), QStringList({"MyMod (loose files) (hides 1)", "MyMod/mymod.vp"}));
    EXPECT_EQ(Cell(0, 0, Qt::ToolTipRole),
              "Loaded from MyMod/data/tables/ships.tbl\nHides, in the game's order:\n"
              "  override: root_fs2.vp:data/tables/ships.tbl");
    EXPECT_TRUE(List()->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());

    ASSERT_TRUE(Frame().Commands().Run(ID_VIEW_HIDDEN_COPIES));
    EXPECT_EQ(Column(0), QStringList({"ships.tbl", "    ships.tbl", "weapons.tbl"}));
    EXPECT_EQ(Cell(1, 3), "root_fs2.vp (override)");
    EXPECT_EQ(List()->model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::gray));

    // The hidden copy is a row like any: its own bytes go out.
    const std::string out = world / "out";
    fs::create_directories(out);
    SelectRow(1);
    platform.folderAnswers = {QString::fromStdString(out)};
    ASSERT_TRUE(Frame().Commands().Run(ID_EXTRACT_TO_DIR));
    EXPECT_EQ(Content(out + "/ships.tbl"), "data/tables/ships.tbl");
    SelectRow(0);
    ASSERT_TRUE(Frame().Commands().Run(ID_COPY_ARCHIVE_PATH));
    EXPECT_EQ(QApplication::clipboard()->text(), "MyMod/data/tables/ships.tbl");
    EXPECT_TRUE(Frame().GetPreview()->ShowsText());

    Frame().FilterField()->setText(QStringLiteral("weap"));
    EXPECT_EQ(Column(0), QStringList({"weapons.tbl"}));
    EXPECT_EQ(StatusPane(1), "1 of 2 files shown");
    Frame().FilterField()->clear();

    ShowNode("<Ignored");
    EXPECT_EQ(Column(0), QStringList({"docs/readme.txt"}));
    EXPECT_EQ(Column(1), QStringList({"in a folder the game does not know"}));

    // An archive opened afterwards is shown as it always is.
    VpBuilder().Dir("data").File("a.tbl", "#A").Up().WriteTo(world / "a.vp");
    ASSERT_TRUE(app->OpenDocumentFile(QString::fromStdString(world / "a.vp")));
    EXPECT_FALSE(List()->ShowsGameFolder());
    EXPECT_FALSE(Frame().GameFolder());
    EXPECT_EQ(List()->model()->columnCount(), 4);
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp");
    EXPECT_FALSE(Enabled(ID_GAME_RELOAD));
}

TEST_F(GameFolderTest, ModsAreChosenFromTheLauncherListAndTheFolderIsReadAgain)
{
    GameFolderBuilder(game).Loose("data/cmdline_fso.cfg", "-mod MyMod\n");
    ASSERT_TRUE(Start());
    std::vector<std::string> offered;
    std::vector<std::string> preselected;
    int nAsked = 0;
    Frame().SetModsChooser(
        [&](const QString&, const std::vector<std::string>& candidates,
            const std::vector<std::string>& chosen)
        {
            offered = candidates;
            preselected = chosen;
            ++nAsked;
            return std::optional<std::vector<std::string>>({"Other", "MyMod"});
        });
    platform.folderAnswers = {QString::fromStdString(game)};
    ASSERT_TRUE(Frame().Commands().Run(ID_FILE_OPEN_GAME_FOLDER));
    EXPECT_EQ(offered, (std::vector<std::string>{"MyMod", "Other"}));
    EXPECT_EQ(preselected, (std::vector<std::string>{"MyMod"}));
    EXPECT_EQ(Frame().GameFolder()->Setup().aMods, (std::vector<std::string>{"Other", "MyMod"}));
    EXPECT_EQ(app->RecentFiles().Paths().front(), game);
    ASSERT_NE(TreeItem("data/missions (1)"), nullptr);

    // A table added while the window shows the folder appears after F5.
    GameFolderBuilder(game).Loose("MyMod/data/tables/new.tbl");
    ShowNode("data/tables (2)");
    ASSERT_TRUE(Frame().Commands().Run(ID_GAME_RELOAD));
    EXPECT_EQ(Frame().GetTreeView()->currentItem()->text(0), "data/tables (3)");
    EXPECT_EQ(List()->model()->rowCount(), 3);

    // A folder dropped from a file manager opens as File > Open Game Folder opens it.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(game))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &drop);
    QCoreApplication::processEvents();
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(nAsked, 2);

    // The dialog: ticked mods come first in their order, moving one changes the order.
    CModsDialog dialog(QString::fromStdString(game), {"MyMod", "Other"}, {"Other", "Gone"});
    EXPECT_EQ(dialog.Chosen(), (std::vector<std::string>{"Other", "Gone"}));
    EXPECT_EQ(dialog.List()->item(1)->text(), "Gone  (not in the folder)");
    dialog.List()->setCurrentRow(2);
    dialog.List()->item(2)->setCheckState(Qt::Checked);
    dialog.MoveCurrent(-1);
    EXPECT_EQ(dialog.Chosen(), (std::vector<std::string>{"Other", "MyMod", "Gone"}));
}

TEST_F(GameFolderTest, ModelTexturesComeFromTheFirstPlaceThenInTheGamesKindOrder)
{
    GameFolderBuilder(game)
        .Archive("data/maps.vp", {"data/maps/skin.tga", "data/maps/skin.dds", "data/maps/hull.dds"})
        .Loose("MyMod/data/maps/hull.png", "png");
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(game, std::string("MyMod")));
    CGameFolderTextures textures;
    textures.SetFolder(&folder);
    EntrySource found;
    // The mod's picture wins over the game folder's .dds and .pcx, though .dds is asked first.
    EXPECT_FALSE(textures.Find("hull.dds", found));
    ASSERT_TRUE(textures.Find("HULL.png", found));
    EXPECT_EQ(found.strPath, game + "/MyMod/data/maps/hull.png");
    EXPECT_EQ(found.nSize, 3);
    textures.SetFolder(nullptr);
    ASSERT_TRUE(folder.Open(game, std::string()));
    textures.SetFolder(&folder);
    // One archive: the kinds' order; two: the game folder's own archive before data/'s.
    EXPECT_FALSE(textures.Find("skin.tga", found));
    ASSERT_TRUE(textures.Find("skin.dds", found));
    EXPECT_EQ(found.strPath, game + "/data/maps.vp");
    EXPECT_FALSE(textures.Find("hull.dds", found));
    ASSERT_TRUE(textures.Find("hull.pcx", found));
    EXPECT_EQ(found.strPath, game + "/root_fs2.vp");
}
