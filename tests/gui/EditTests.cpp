#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "CArchiveEditList.h"
#include "CEditListModel.h"
#include "CLeftView.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "CSaveProgressDlg.h"
#include "GameFolderBuilder.h"
#include "GuiTestSupport.h"
#include "SuiteAccess.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace fs = std::filesystem;
using Answer = IPlatformServices::Answer;

namespace
{
std::vector<unsigned char> ReadBytes(const std::string& path)
{
    const std::string text = ReadFileText(path);
    return {text.begin(), text.end()};
}

struct EditTest : GuiTest
{
    std::string archive;

    // a.vp open with \data shown: the folder row maps, ships.tbl, weapons.tbl.
    void OpenData()
    {
        archive = world / "a.vp";
        TwoTablesAndAFolderVp().WriteTo(archive);
        ASSERT_TRUE(Start(QString::fromStdString(archive)));
        Tree()->setCurrentItem(Tree()->topLevelItem(0));
    }
    std::string Disk(const std::string& name, const std::string& text) const
    {
        const std::string path = world / ("disk/" + name);
        fs::create_directories(fs::path(path).parent_path());
        WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
        return path;
    }
    CORBISTAVView* List() const { return Frame().GetListView(); }
    CLeftView* Tree() const { return Frame().GetTreeView(); }
    // Each row as "name" with "+" for added and "~" for replaced files.
    QStringList Rows() const
    {
        QStringList rows;
        for (int r = 0; r < List()->model()->rowCount(); ++r)
        {
            const QModelIndex index = List()->model()->index(r, 0);
            const QVariant state = index.data(CEditListModel::kEditStateRole);
            const int n = state.isValid() ? state.toInt() : 0;
            rows << index.data().toString() + (n == 1 ? "+" : n == 2 ? "~" : "");
        }
        return rows;
    }
    void Select(const QString& name) const
    {
        List()->clearSelection();
        for (int r = 0; r < List()->model()->rowCount(); ++r)
            if (List()->model()->index(r, 0).data().toString() == name)
                List()->selectRow(r);
    }
    QStringList TreeTexts() const
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
            texts << (*it)->text(0);
        return texts;
    }
    bool Run(int nId) const { return Frame().Commands().Run(nId); }
    // What the archive on disk holds: "path=content" per file.
    QStringList Saved(const std::string& path) const
    {
        CArchiveEditList list;
        EXPECT_TRUE(list.Open(path)) << path;
        QStringList files;
        for (const EditRow& row : list.Rows())
        {
            std::vector<unsigned char> content;
            EXPECT_TRUE(list.ReadContent(row.Path(), content));
            files << QString::fromStdString(row.Path() + "=" +
                                            std::string(content.begin(), content.end()));
        }
        return files;
    }
    // A file manager's drop onto a point of the list's or the tree's viewport, proposing a move.
    bool DropOnto(QWidget* pViewport, QPoint pos, const std::vector<std::string>& paths) const
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        data.setUrls(urls);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(pos, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pViewport, &enter);
        QDropEvent drop(pos, actions, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(pViewport, &drop);
        QCoreApplication::processEvents();
        return enter.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }
};
} // namespace

TEST_F(EditTest, EditsShowMarkedUntilUndoneAndRefusalsSayWhy)
{
    OpenData();
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(ID_EDIT_ADD_FILES));

    platform.openFilesAnswers.push_back({QString::fromStdString(Disk("new.tbl", "#New"))});
    ASSERT_TRUE(Run(ID_EDIT_ADD_FILES));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl", "weapons.tbl", "new.tbl+"}));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp*");
    EXPECT_TRUE(Enabled(ID_FILE_SAVE));

    Select("weapons.tbl");
    ASSERT_TRUE(Run(ID_EDIT_DELETE));
    Select("ships.tbl");
    platform.textAnswers << "hulls.tbl";
    ASSERT_TRUE(Run(ID_EDIT_RENAME));
    EXPECT_EQ(platform.textRequests.last(), "New name:|ships.tbl");
    EXPECT_EQ(Rows(), QStringList({"maps", "hulls.tbl", "new.tbl+"}));

    // A name the archive cannot hold is refused with the reason; nothing changes.
    Select("hulls.tbl");
    platform.textAnswers << QString(40, QLatin1Char('x'));
    ASSERT_TRUE(Run(ID_EDIT_RENAME));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages.front().contains("31"))
        << platform.messages.front().toStdString();
    EXPECT_EQ(Rows(), QStringList({"maps", "hulls.tbl", "new.tbl+"}));

    platform.textAnswers << "hud";
    ASSERT_TRUE(Run(ID_EDIT_NEW_FOLDER));
    EXPECT_EQ(TreeTexts(), QStringList({"data (2)", "maps (1)", "hud (0)", "<All files>"}));
    EXPECT_EQ(Tree()->currentItem()->text(0), "hud (0)");
    // A new folder stands out as added files do, in the tree and in its parent's list.
    EXPECT_TRUE(Tree()->currentItem()->font(0).bold());
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    EXPECT_EQ(Rows(), QStringList({"maps", "hud+", "hulls.tbl", "new.tbl+"}));
    EXPECT_FALSE(Tree()->topLevelItem(0)->font(0).bold());

    // Undo walks back edit by edit, its menu text naming the next; undoing them all leaves
    // nothing to save.
    EXPECT_TRUE(Frame().Commands().Action(ID_EDIT_UNDO)->text().startsWith("&Undo "));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp");
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl", "weapons.tbl"}));
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl", "weapons.tbl", "new.tbl+"}));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp*");
}

TEST_F(EditTest, SaveWritesTheEditsAndTheArchiveIsReadAgain)
{
    OpenData();
    platform.openFilesAnswers.push_back({QString::fromStdString(Disk("ships.tbl", "#Ships 2")),
                                         QString::fromStdString(Disk("new.tbl", "#New"))});
    // The file of an existing name replaces it once the user agrees.
    platform.answers = {Answer::Yes};
    ASSERT_TRUE(Run(ID_EDIT_ADD_FILES));
    EXPECT_TRUE(platform.questions.last().contains("ships.tbl"));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl~", "weapons.tbl", "new.tbl+"}));

    // Extracted before saving, a replaced file is its new content.
    const std::string out = world / "out";
    fs::create_directories(out);
    platform.folderAnswers << QString::fromStdString(out);
    List()->clearSelection();
    List()->selectRow(1);
    ASSERT_TRUE(Run(ID_EXTRACT_TO_DIR));
    EXPECT_EQ(ReadFileText(out + "/ships.tbl"), "#Ships 2");

    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(Frame().PendingEdits(), nullptr);
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp");
    EXPECT_EQ(app->Document().m_nFileCount, 4);
    EXPECT_EQ(Saved(archive),
              QStringList({"\\data\\maps\\inner.pcx=pcx", "\\data\\ships.tbl=#Ships 2",
                           "\\data\\weapons.tbl=#Weapons", "\\data\\new.tbl=#New"}));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join("|").toStdString();

    // Save As a packfile: one flat list, and the program shows that file now.
    platform.saveFileAnswers << QString::fromStdString(world / "b.vpp");
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    Select("maps");
    ASSERT_TRUE(Run(ID_EDIT_DELETE));
    ASSERT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - b.vpp");
    EXPECT_EQ(Saved(world / "b.vpp"),
              QStringList({"\\ships.tbl=#Ships 2", "\\weapons.tbl=#Weapons", "\\new.tbl=#New"}));
    EXPECT_EQ(Saved(archive).size(), 4);
}

TEST_F(EditTest, UnsavedEditsAreAskedAboutAndACancelledSaveLeavesTheArchive)
{
    OpenData();
    const std::vector<unsigned char> before = ReadBytes(archive);
    // Large enough to be saved in steps.
    platform.openFilesAnswers.push_back(
        {QString::fromStdString(Disk("big.dat", std::string(3 << 20, 'b'))),
         QString::fromStdString(Disk("more.dat", std::string(3 << 20, 'm')))});
    ASSERT_TRUE(Run(ID_EDIT_ADD_FILES));

    QTimer::singleShot(0, [this] { Frame().findChild<CSaveProgressDlg*>()->m_wndCancel->click(); });
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(ReadBytes(archive), before);
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp*");
    EXPECT_TRUE(platform.messages.isEmpty());
    for (const auto& entry : fs::directory_iterator(fs::path(archive).parent_path()))
        EXPECT_EQ(entry.path().filename().string().find("a.vp"),
                  entry.path().filename() == "a.vp" ? 0 : std::string::npos);

    // Cancel keeps the window and the edits; Discard lets another archive open.
    const std::string other = world / "b.vp";
    VpBuilder().Dir("data").File("b.tbl", "#B").Up().WriteTo(other);
    platform.answers = {Answer::Cancel};
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(platform.questions.last(), "Save the changes to a.vp?");
    ASSERT_NE(Frame().PendingEdits(), nullptr);
    platform.answers = {Answer::No};
    platform.openFileAnswers << QString::fromStdString(other);
    ASSERT_TRUE(Run(ID_FILE_OPEN));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - b.vp");
    EXPECT_EQ(ReadBytes(archive), before);

    // Save on quitting writes the archive before the window goes.
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    Select("b.tbl");
    ASSERT_TRUE(Run(ID_EDIT_DELETE));
    platform.answers = {Answer::Yes};
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(Saved(other), QStringList());
}

TEST_F(EditTest, FilesDroppedOntoTheListOrATreeDirectoryAreAdded)
{
    OpenData();
    // Before any edit, onto the tree's maps: into that directory.
    QTreeWidgetItem* pMaps = Tree()->topLevelItem(0)->child(0);
    EXPECT_TRUE(
        DropOnto(Tree()->viewport(), Tree()->visualItemRect(pMaps).center(), {Disk("m.pcx", "m")}));
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    EXPECT_EQ(Rows(), QStringList({"inner.pcx", "m.pcx+"}));
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    QWidget* pList = List()->viewport();
    // Below the rows: into the directory shown.
    EXPECT_TRUE(DropOnto(pList, QPoint(5, pList->height() - 5), {Disk("a.tbl", "#A")}));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl", "weapons.tbl", "a.tbl+"}));

    // Onto the file row of its name: it replaces the entry once the user agrees.
    const QPoint shipsRow = List()->visualRect(List()->model()->index(1, 0)).center();
    platform.answers = {Answer::No, Answer::Yes};
    EXPECT_TRUE(DropOnto(pList, shipsRow, {Disk("ships.tbl", "#Ships 2")}));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl", "weapons.tbl", "a.tbl+"}));
    EXPECT_TRUE(DropOnto(pList, shipsRow, {Disk("ships.tbl", "#Ships 2")}));
    EXPECT_EQ(Rows(), QStringList({"maps", "ships.tbl~", "weapons.tbl", "a.tbl+"}));
    EXPECT_EQ(platform.questions.size(), 2);

    // Onto the tree's maps: a folder with everything in it goes there.
    Disk("pics/x.pcx", "x");
    pMaps = Tree()->topLevelItem(0)->child(0);
    EXPECT_TRUE(DropOnto(Tree()->viewport(), Tree()->visualItemRect(pMaps).center(),
                         {world / "disk/pics"}));
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    EXPECT_EQ(Rows(), QStringList({"pics+", "inner.pcx", "m.pcx+"}));
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0)->child(0));
    EXPECT_EQ(Rows(), QStringList({"x.pcx+"}));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join("|").toStdString();
}

TEST_F(EditTest, ANewArchiveIsFilledAndSavedAndGameFoldersCannotBeEdited)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Enabled(ID_EDIT_ADD_FILES));
    platform.saveFileAnswers << QString::fromStdString(world / "new.vpp");
    ASSERT_TRUE(Run(ID_FILE_NEW_ARCHIVE));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - new.vpp*");
    EXPECT_FALSE(Enabled(ID_EDIT_NEW_FOLDER));
    platform.openFilesAnswers.push_back({QString::fromStdString(Disk("level.rfl", "RFL"))});
    ASSERT_TRUE(Run(ID_EDIT_ADD_FILES));
    EXPECT_EQ(Rows(), QStringList({"level.rfl+"}));
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(Saved(world / "new.vpp"), QStringList({"\\level.rfl=RFL"}));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - new.vpp");
    // The packfile read again: its rows stand under their types, not in directories.
    Select("level.rfl");
    ASSERT_TRUE(Run(ID_EDIT_DELETE));
    EXPECT_TRUE(Rows().isEmpty());
    ASSERT_TRUE(Run(ID_EDIT_UNDO));

    // A game folder over pending edits asks first; cancelled, the edits stay.
    platform.openFilesAnswers.push_back({QString::fromStdString(Disk("more.rfl", "RFL"))});
    ASSERT_TRUE(Run(ID_EDIT_ADD_FILES));
    GameFolderBuilder game(world / "game");
    game.Archive("root.vp", {"data/tables/ships.tbl"});
    EXPECT_FALSE(Frame().OpenGameFolder(QString::fromStdString(game.Root()), QString()));
    EXPECT_EQ(Rows(), QStringList({"level.rfl", "more.rfl+"}));
    platform.answers = {Answer::No};
    ASSERT_TRUE(Frame().OpenGameFolder(QString::fromStdString(game.Root()), QString()));
    for (const int nId : {ID_EDIT_ADD_FILES, ID_EDIT_DELETE, ID_FILE_SAVE_AS, ID_EDIT_UNDO})
        EXPECT_FALSE(Enabled(nId)) << nId;
    EXPECT_EQ(Saved(world / "new.vpp"), QStringList({"\\level.rfl=RFL"}));
}

TEST_F(EditTest, ExtractingWhileEditingKeepsToTheChosenFolderAndTheGamesDirectories)
{
    const std::string game = world / "games/FS2";
    fs::create_directories(game + "/Data/Tables");
    WriteSuiteString("\\Games Configuration\\FreeSpace 2", "Path", game);
    archive = game + "/root_fs2.vp";
    VpBuilder()
        .Dir("data")
        .Dir("tables")
        .File("ships.tbl", "#Ships")
        .File("../../evil.tbl", "evil")
        .Up()
        .Up()
        .WriteTo(archive);
    ASSERT_TRUE(Start(QString::fromStdString(archive)));
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    platform.textAnswers << "hud";
    ASSERT_TRUE(Run(ID_EDIT_NEW_FOLDER));
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    ASSERT_NE(Frame().PendingEdits(), nullptr);

    // Into the game's own directories, found whatever their case, as before the edit.
    Select("ships.tbl");
    ASSERT_TRUE(Run(ID_EXTRACT_FS_DATA));
    EXPECT_EQ(ReadFileText(game + "/Data/Tables/ships.tbl"), "#Ships");
    EXPECT_FALSE(fs::exists(game + "/ships.tbl"));

    // A stored name that climbs out of the chosen folder is refused.
    const std::string out = world / "out/deep";
    fs::create_directories(out);
    platform.folderAnswers << QString::fromStdString(out);
    Select("../../evil.tbl");
    ASSERT_TRUE(Run(ID_EXTRACT_TO_DIR));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].contains("cannot be used on disk"))
        << platform.messages[0].toStdString();
    EXPECT_FALSE(fs::exists(world / "evil.tbl"));
}
