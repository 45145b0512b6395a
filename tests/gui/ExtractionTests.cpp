#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <filesystem>
#include <sys/stat.h>

#include "CExtractProgressDlg.h"
#include "CLeftView.h"
#include "CORBISTAVView.h"
#include "CQtPlatformServices.h"
#include "GuiTestSupport.h"
#include "SuiteAccess.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace fs = std::filesystem;

namespace
{
// What the progress window shows each time its file line is painted, changes only.
struct ProgressRecorder : QObject
{
    QStringList shown;
    ProgressRecorder() { qApp->installEventFilter(this); }
    ~ProgressRecorder() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        auto* pWindow = qobject_cast<CExtractProgressDlg*>(pObject->parent());
        if (pEvent->type() != QEvent::Paint || !pWindow || pObject != pWindow->m_wndFile)
            return false;
        const QString text = QStringLiteral("%1|%2|%3/%4")
                                 .arg(pWindow->m_wndAction->text(), pWindow->m_wndFile->text())
                                 .arg(pWindow->m_wndProgress->value())
                                 .arg(pWindow->m_wndProgress->maximum());
        if (shown.isEmpty() || shown.last() != text)
            shown << text;
        return false;
    }
};

struct ExtractionTest : GuiTest
{
    std::string out;

    void SetUp() override
    {
        GuiTest::SetUp();
        out = world / "out";
        fs::create_directories(out);
    }
    void Open(const VpBuilder& vp, const std::string& path)
    {
        fs::create_directories(fs::path(path).parent_path());
        vp.WriteTo(path);
        ASSERT_TRUE(Start(QString::fromStdString(path)));
    }
    CORBISTAVView* List() const { return Frame().GetListView(); }
    void Select(std::initializer_list<int> rows) const
    {
        List()->clearSelection();
        for (const int r : rows)
            List()->selectionModel()->select(List()->model()->index(r, 0),
                                             QItemSelectionModel::Select |
                                                 QItemSelectionModel::Rows);
    }
    void ShowAllFiles() const
    {
        QTreeWidget* pTree = Frame().GetTreeView();
        pTree->setCurrentItem(pTree->topLevelItem(pTree->topLevelItemCount() - 1));
    }
    void ShowFirstDirectory() const
    {
        Frame().GetTreeView()->setCurrentItem(Frame().GetTreeView()->topLevelItem(0));
    }
    void TearDown() override
    {
        ::unsetenv("TEMP");
        GuiTest::TearDown();
    }
    void ExtractTo(const std::string& folder)
    {
        platform.folderAnswers = {QString::fromStdString(folder)};
        ASSERT_TRUE(Frame().Commands().Run(ID_EXTRACT_TO_DIR));
    }
};

// data\: three files of 300000, 200000 and 1 byte, rows 1 to 3 of all files.
VpBuilder ThreeSizes()
{
    return VpBuilder()
        .Dir("data")
        .Dir("maps")
        .File("inner.pcx", "pcx")
        .Up()
        .File("a.dat", std::string(300000, 'a'))
        .File("b.dat", std::string(200000, 'b'))
        .File("c.txt", "c")
        .Up();
}
} // namespace

TEST_F(ExtractionTest, ProgressWindowShowsOverHalfAMillionBytesAndMovesBeforeEachFile)
{
    Open(ThreeSizes(), world / "three.vp");
    ShowAllFiles();
    {
        ProgressRecorder progress;
        Select({1, 2}); // exactly 500000 bytes
        ExtractTo(out);
        EXPECT_TRUE(progress.shown.isEmpty());
        EXPECT_EQ(StatusPane(0), QString::fromStdString("2 files extracted to " + out));
    }
    ProgressRecorder progress;
    Select({1, 2, 3}); // 500001 bytes
    ExtractTo(out + "/");
    const QString head = "Extracting 3 files (488 kB)|";
    EXPECT_EQ(progress.shown,
              QStringList({head + "Frame # of #|0/500001", head + "a.dat|0/500001",
                           head + "b.dat|300000/500001", head + "c.txt|500000/500001"}));
    EXPECT_TRUE(Frame().findChildren<CExtractProgressDlg*>().isEmpty());
    EXPECT_EQ(StatusPane(0), QString::fromStdString("3 files extracted to " + out + "/"));
    EXPECT_EQ(ReadFileText(out + "/a.dat"), std::string(300000, 'a'));
    EXPECT_EQ(platform.folderRequests.first(), "Select destination folder|/");
}

TEST_F(ExtractionTest, ProgressBarCountsPastTwoGiB)
{
    CExtractProgressDlg dialog(nullptr);
    dialog.Start(3, 5'000'000'000);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isEnabled());
    EXPECT_EQ(dialog.windowTitle(), "Vantorel ORBISTAV");
    EXPECT_EQ(dialog.m_wndAction->text(), "Extracting 3 files (4882812 kB)");
    dialog.SetFile("big.dat", 2'500'000'000);
    EXPECT_GT(dialog.m_wndProgress->maximum(), 1 << 30);
    EXPECT_DOUBLE_EQ(2.0 * dialog.m_wndProgress->value(), dialog.m_wndProgress->maximum());
}

TEST_F(ExtractionTest, FolderRowsAreSkippedEmptyEntriesWrittenAndFilesReplaced)
{
    Open(TwoTablesAndAFolderVp(), world / "data.vp");
    WriteBytes(out + "/ships.tbl", {'o', 'l', 'd'});
    ShowFirstDirectory();
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL));
    ExtractTo(out);
    EXPECT_EQ(StatusPane(0), QString::fromStdString("2 files extracted to " + out));
    EXPECT_EQ(ReadFileText(out + "/ships.tbl"), "#Ships");
    EXPECT_FALSE(fs::exists(out + "/inner.pcx"));

    // Only .VPP archives hold empty files: a .VP entry of size 0 opens a directory.
    VppBuilder().File("empty.txt", "").File("x.tga", "t").WriteTo(world / "b.vpp");
    ASSERT_TRUE(app->OpenDocumentFile(QString::fromStdString(world / "b.vpp")));
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL));
    ExtractTo(out);
    EXPECT_EQ(StatusPane(0), QString::fromStdString("2 files extracted to " + out));
    EXPECT_EQ(ReadFileText(out + "/empty.txt"), "");

    // Cancelling the picker extracts nothing, not even into the folder it started at.
    ExtractTo("");
    EXPECT_EQ(StatusPane(0), QString::fromStdString("2 files extracted to " + out));

    EXPECT_EQ(CQtPlatformServices::FolderStatusText(QString(35, 'x')), QString(35, 'x'));
    EXPECT_EQ(CQtPlatformServices::FolderStatusText(QString(36, 'x')), QString(35, 'x') + "...");
}

TEST_F(ExtractionTest, AFailingFileStopsTheExtractionKeepsEarlierFilesAndSaysWhy)
{
    Open(ThreeSizes().Dir("bad").RawEntry(1 << 30, 10, "damaged.tbl").Up(), world / "three.vp");
    ShowAllFiles();
    WriteBytes(out + "/b.dat", {'o', 'l', 'd'});
    ::chmod((out + "/b.dat").c_str(), 0444);
    Select({1, 2, 3});
    ExtractTo(out);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].contains("\\data\\b.dat"));
    EXPECT_TRUE(platform.messages[0].contains("Permission denied"));
    EXPECT_EQ(ReadFileText(out + "/a.dat"), std::string(300000, 'a'));
    EXPECT_EQ(ReadFileText(out + "/b.dat"), "old");
    EXPECT_FALSE(fs::exists(out + "/c.txt"));
    EXPECT_TRUE(Frame().findChildren<CExtractProgressDlg*>().isEmpty());
    EXPECT_EQ(StatusPane(0), "Ready");

    // An entry whose data lies outside the archive is such a failure too.
    Select({List()->model()->rowCount() - 1});
    ExtractTo(out);
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_TRUE(platform.messages[1].contains("\\bad\\damaged.tbl: the entry is damaged"));
    EXPECT_FALSE(fs::exists(out + "/damaged.tbl"));
}

TEST_F(ExtractionTest, GameDirectoryExtractionFindsExistingDirectoriesWhateverTheirCase)
{
    const std::string game = world / "games/FS2";
    fs::create_directories(game + "/Data/Tables");
    WriteSuiteString("\\Games Configuration\\FreeSpace 2", "Path", game);
    Open(VpBuilder()
             .File("root.txt", "r")
             .Dir("data")
             .Dir("tables")
             .File("ships.tbl", "#Ships")
             .Up()
             .Dir("maps")
             .File("nebula.pcx", "pcx")
             .Up()
             .Up(),
         game + "/root_fs2.vp");
    ShowAllFiles();
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL));
    ASSERT_TRUE(Frame().Commands().Run(ID_EXTRACT_FS_DATA));

    EXPECT_EQ(ReadFileText(game + "/root.txt"), "r");
    EXPECT_EQ(ReadFileText(game + "/Data/Tables/ships.tbl"), "#Ships");
    // \data\maps has no directory there: that file fails, nothing is created.
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].contains("\\data\\maps\\nebula.pcx"));
    EXPECT_TRUE(platform.messages[0].contains("No such file or directory"));
    EXPECT_FALSE(fs::exists(game + "/data") || fs::exists(game + "/Data/maps"));
    EXPECT_EQ(StatusPane(0), "Ready");
}

TEST_F(ExtractionTest, OpenSelectedWritesIntoTheTemporaryDirectoryAndHandsTheFileOn)
{
    const std::string temp = world / "temp";
    fs::create_directories(temp);
    ::setenv("TEMP", temp.c_str(), 1);
    ASSERT_TRUE(Start()); // the hint row: nothing at all happens
    Select({0});
    ASSERT_TRUE(Frame().Commands().Run(ID_OPEN_SELECTED));
    EXPECT_EQ(StatusPane(0), "Ready");
    app.reset();

    Open(VpBuilder().Dir("data").Dir("maps").Up().File("briefing.txt", "go").Up(),
         world / "data.vp");
    ShowFirstDirectory();
    Select({1});
    ASSERT_TRUE(Frame().Commands().Run(ID_OPEN_SELECTED));
    EXPECT_EQ(ReadFileText(temp + "/briefing.txt"), "go");
    EXPECT_EQ(StatusPane(0), QString::fromStdString("1 files extracted to " + temp + "/"));
    EXPECT_EQ(platform.openedDocuments,
              QStringList({QString::fromStdString(temp + "/briefing.txt|" + temp + "/")}));

    Select({0}); // the folder row
    ASSERT_TRUE(Frame().Commands().Run(ID_OPEN_SELECTED));
    EXPECT_EQ(StatusPane(0), QString::fromStdString("0 files extracted to " + temp + "/"));
    EXPECT_EQ(platform.messages,
              QStringList({"This is a folder. You can only open files in external applications."}));
    EXPECT_EQ(platform.captions, QStringList({"Selection Error"}));
    EXPECT_EQ(platform.icons, std::vector({IPlatformServices::MessageIcon::None}));
    EXPECT_EQ(platform.openedDocuments.size(), 1);
}

TEST_F(ExtractionTest, ToolsGetTheArchiveAsOneArgumentAndWindowsProgramsRunThroughWine)
{
    const std::string hullglass = world / "tools/hull glass";
    const std::string reelsmith = world / "drive_c/Kroy/Reelsmith/REELSMITH.EXE";
    fs::create_directories(world / "tools");
    fs::create_directories(fs::path(reelsmith).parent_path());
    WriteBytes(hullglass, {'#', '!'});
    WriteBytes(reelsmith, {'M', 'Z'});
    WriteSuiteString("\\Vantorel Tools\\Vantorel HULLGLASS", "EXE", hullglass);
    WriteSuiteString("\\Vantorel Tools\\Vantorel REELSMITH", "EXE", reelsmith);
    const std::string archive = world / "games/root fs2.vp";
    Open(VpBuilder().File("a.txt", "a"), archive);

    const char* pPath = ::getenv("PATH");
    const std::string path = pPath ? pPath : "/usr/bin:/bin";
    ::setenv("PATH", (world / "tools").c_str(), 1);
    ASSERT_TRUE(Frame().Commands().Run(ID_TOOL_HULLGLASS));
    ASSERT_TRUE(Frame().Commands().Run(ID_TOOL_REELSMITH)); // no wine: nothing happens
    ASSERT_EQ(platform.starts.size(), 1u);
    EXPECT_EQ(platform.starts[0].program, QString::fromStdString(hullglass));
    EXPECT_EQ(platform.starts[0].arguments, QStringList({QString::fromStdString(archive)}));
    EXPECT_TRUE(platform.starts[0].bMaximized);

    const std::string wine = world / "tools/wine";
    WriteBytes(wine, {'#', '!'});
    ::chmod(wine.c_str(), 0755);
    ASSERT_TRUE(Frame().Commands().Run(ID_TOOL_REELSMITH));
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(platform.starts.size(), 2u);
    EXPECT_EQ(platform.starts[1].program, QString::fromStdString(wine));
    EXPECT_EQ(platform.starts[1].arguments,
              QStringList({"start", "C:\\Kroy\\Reelsmith\\REELSMITH.EXE"}));
    EXPECT_FALSE(platform.starts[1].bMaximized);
}
