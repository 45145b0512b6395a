#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "CAutoPreview.h"
#include "CAutoPreviewToolbar.h"
#include "CLeftView.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "CStaticSplitter.h"
#include "CThinSplitterWnd.h"
#include "FramePlacement.h"
#include "GuiTestSupport.h"
#include "MediaBuilders.h"
#include "RegistryAccess.h"
#include "ResourceImages.h"
#include "Settings.h"
#include "SuiteAccess.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace
{
VpBuilder DataTree()
{
    VpBuilder vp;
    vp.Dir("data")
        .Dir("tables")
        .File("ships.tbl", "#Ships", 1001923509)
        .File("weapons.tbl", "#Weapons", 1001923509)
        .Up()
        .Dir("maps")
        .File("nebula.pcx", "pcx")
        .Up()
        .Up();
    return vp;
}

QStringList TreeTexts(QTreeWidget* pTree)
{
    QStringList texts;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* pItem, int depth)
    {
        texts << QString(depth * 2, QLatin1Char(' ')) + pItem->text(0);
        for (int i = 0; i < pItem->childCount(); ++i)
            walk(pItem->child(i), depth + 1);
    };
    for (int i = 0; i < pTree->topLevelItemCount(); ++i)
        walk(pTree->topLevelItem(i), 0);
    return texts;
}

QStringList ColumnTitles(QTableView* pList)
{
    QStringList titles;
    QAbstractItemModel* pModel = pList->model();
    for (int c = 0; c < pModel->columnCount(); ++c)
        titles << pModel->headerData(c, Qt::Horizontal).toString();
    return titles;
}

// As a click on the row does, whatever modifier keys an earlier test left pressed.
void SelectRow(QTableView* pList, int nRow)
{
    pList->selectionModel()->select(pList->model()->index(nRow, 0),
                                    QItemSelectionModel::ClearAndSelect |
                                        QItemSelectionModel::Rows);
}

QStringList MenuTexts(QMenu* pMenu)
{
    QStringList texts;
    for (QAction* pAction : pMenu->actions())
        texts << (pAction->isSeparator()
                      ? QStringLiteral("-")
                      : pAction->text() +
                            (pAction->shortcut().isEmpty()
                                 ? QString()
                                 : QLatin1Char('\t') + pAction->shortcut().toString()));
    return texts;
}
} // namespace

TEST_F(GuiTest, StartsWithoutArchiveInTheNoFileLoadedState)
{
    // During the wait the splash window shows its picture with the version label on it.
    QImage shown;
    platform.splashWaitDoes = [&shown]
    {
        for (QWidget* pWindow : QApplication::topLevelWidgets())
            if (pWindow->objectName() == "splash" && pWindow->isVisible())
                shown = pWindow->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    ASSERT_TRUE(Start());
    const QImage splash = ResourceImage(IDB_SPLASH).convertToFormat(QImage::Format_RGB32);
    const QImage version =
        ResourceImage(IDB_SPLASH_VERSION).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), splash.size());
    EXPECT_EQ(shown.copy(0, 0, 200, 30), splash.copy(0, 0, 200, 30));
    EXPECT_EQ(shown.copy(271, 40, version.width(), version.height()), version);

    EXPECT_EQ(platform.splashWaits, std::vector<int>({2000}));
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - Untitled");
    CORBISTAVView* pList = Frame().GetListView();
    EXPECT_EQ(ColumnTitles(pList), QStringList({"No file loaded."}));
    ASSERT_EQ(pList->model()->rowCount(), 1);
    EXPECT_EQ(pList->model()->index(0, 0).data().toString(),
              "Open a .VP or .VPP archive via the 'File' menu.");
    EXPECT_EQ(Frame().GetTreeView()->topLevelItemCount(), 0);

    EXPECT_EQ(StatusPane(0), "Ready");
    EXPECT_EQ(StatusPane(1), " ");
    EXPECT_EQ(StatusPane(2), "V2.0 Beta 03b (Build 106)");

    // The hint row counts as a row.
    EXPECT_TRUE(Enabled(ID_EXTRACT_TO_DIR));
    EXPECT_TRUE(Enabled(ID_SELECT_ALL));
    for (const int nId : {ID_EXTRACT_DEFAULT, ID_EXTRACT_FS_DATA, ID_TOOL_PREVIOUS_VERSION,
                          ID_TOOL_HULLGLASS, ID_TOOL_LOOMWRIGHT_OPEN, ID_PLAY_PREVIEW,
                          ID_STOP_PREVIEW, ID_OPEN_SELECTED, ID_BLANK, ID_TUTORIAL})
        EXPECT_FALSE(Enabled(nId)) << nId;
    for (const int nId : {ID_FILE_OPEN, ID_OPTIONS, ID_APP_EXIT, ID_CHECK_VERSION, ID_APP_ABOUT})
        EXPECT_TRUE(Enabled(nId)) << nId;
}

TEST_F(GuiTest, AnArchiveOnTheCommandLineIsOpenWhenTheWindowComesUp)
{
    DataTree().WriteTo(world / "data.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "data.vp")));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join("|").toStdString();
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - data.vp");
    EXPECT_EQ(TreeTexts(Frame().GetTreeView()),
              QStringList({"data (0)", "  tables (2)", "  maps (1)", "<All files>"}));
    CORBISTAVView* pList = Frame().GetListView();
    EXPECT_EQ(ColumnTitles(pList), QStringList({"Filename", "Type", "Size", "Date & Time"}));
    // Directory 1 first: its two subdirectories.
    ASSERT_EQ(pList->model()->rowCount(), 2);
    EXPECT_EQ(pList->model()->index(0, 0).data().toString(), "tables");
    EXPECT_EQ(pList->model()->index(0, 1).data().toString(), "Folder");

    EXPECT_EQ(ReadRegString(RegistryRoot::HKEY_CURRENT_USER,
                            "Software\\Quillmoor\\Vantorel ORBISTAV\\Recent File List", "File1"),
              world / "data.vp");
    // Registration and migration ran on the way.
    EXPECT_NE(ReadSuiteString("\\Vantorel Tools\\Vantorel ORBISTAV", "EXE"), "");
    EXPECT_EQ(ReadSuiteDword("\\Games Configuration", "KroyMigration", 0), 1);
}

TEST_F(GuiTest, BrokenStartsTellTheUser)
{
    WriteBytes(world / "pak.zip", DataTree().Bytes());
    ASSERT_TRUE(Start(QString::fromStdString(world / "pak.zip")));
    EXPECT_EQ(platform.messages, QStringList({"Unsupported file extension."}));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - pak.zip");
    EXPECT_EQ(ColumnTitles(Frame().GetListView()), QStringList({"No file loaded."}));
    app.reset();

    platform.messages.clear();
    WriteBytes(world / "empty.vp", {});
    ASSERT_TRUE(Start(QString::fromStdString(world / "empty.vp")));
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - empty.vp");
    app.reset();

    platform.messages.clear();
    EXPECT_FALSE(Start(QString::fromStdString(world / "missing.vp")));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].startsWith("Failed to open document."))
        << platform.messages[0].toStdString();
    EXPECT_TRUE(platform.messages[0].contains("missing.vp"));
}

TEST_F(GuiTest, FileOpenDialogAndRecentFiles)
{
    DataTree().WriteTo(world / "a.vp");
    VppBuilder().File("x.tga", "t").File("y.wav", "w").WriteTo(world / "b.vpp");
    ASSERT_TRUE(Start());
    platform.openFileAnswers = {QString::fromStdString(world / "a.vp"),
                                QString::fromStdString(world / "b.vpp"),
                                QString::fromStdString(world / "a.vp"), QString()};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Frame().Commands().Run(ID_FILE_OPEN));
    EXPECT_TRUE(platform.openFilter.startsWith(
        "All supported files (*.vp;*.vpc;*.vpp)|*.vp;*.vpc;*.vpp|FreeSpace 1/2 VP files "
        "(*.vp;*.vpc)|*.vp;*.vpc|"));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp");
    const auto& recent = app->RecentFiles().Paths();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], world / "a.vp");
    EXPECT_EQ(recent[1], world / "b.vpp");

    // The File menu lists them; one that no longer opens is dropped when chosen.
    QMenu* pFile = Frame().menuBar()->findChildren<QMenu*>().first();
    QStringList texts = MenuTexts(pFile);
    EXPECT_EQ(texts.mid(0, 9), QStringList({"&New Archive...\tCtrl+N", "&Open .VP/.VPP file...\tCtrl+O",
                                            "Open &Game Folder...\tCtrl+Shift+O", "-", "&Save\tCtrl+S",
                                            "Save &As...\tCtrl+Shift+S", "-",
                                            "Options / &Configuration", "-"}));
    EXPECT_TRUE(texts[9].startsWith("&1 ") && texts[9].endsWith("a.vp")) << texts[9].toStdString();
    EXPECT_TRUE(texts[10].startsWith("&2 ") && texts[10].endsWith("b.vpp"));
    EXPECT_EQ(texts.mid(11), QStringList({"-", "E&xit"}));

    std::filesystem::remove(world / "b.vpp");
    pFile->actions()[10]->trigger();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(app->RecentFiles().Paths().size(), 1u);
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp");

    // A new start shows the stored list.
    app.reset();
    ASSERT_TRUE(Start());
    ASSERT_EQ(app->RecentFiles().Paths().size(), 1u);
    EXPECT_EQ(app->RecentFiles().Paths()[0], world / "a.vp");
}

TEST(FramePlacementTest, OneFactorScalesTheFrameItsColumnAndTheTree)
{
    // Factor 1 keeps the placement rule's sizes.
    const FramePlacement small = InitialPlacement(QRect(0, 0, 640, 480), 1.0, 510);
    EXPECT_EQ(small.geometry, QRect(0, 0, 640, 480));
    EXPECT_EQ(small.nLeftWidth, 275);
    EXPECT_EQ(small.nTreeHeight, 400);
    EXPECT_EQ(InitialPlacement(QRect(0, 0, 1024, 768), 1.0, 510).geometry,
              QRect(112, 84, 800, 600));

    // A font 1.34 times as wide: all three grow alike, inside the available area.
    const FramePlacement large = InitialPlacement(QRect(0, 24, 1280, 876), 1.34, 680);
    EXPECT_EQ(large.geometry, QRect(104, 60, 1072, 804));
    EXPECT_EQ(large.nLeftWidth, 369);
    EXPECT_EQ(large.nTreeHeight, 536);
    // Too narrow for both: the left column gives way to the list's columns.
    const FramePlacement narrow = InitialPlacement(QRect(0, 0, 1024, 740), 1.34, 680);
    EXPECT_EQ(narrow.geometry, QRect(0, 0, 1024, 740));
    EXPECT_EQ(narrow.nLeftWidth, 1024 - 680);
}

TEST_F(GuiTest, TheFirstWindowShowsEveryColumnOfAVp)
{
    DataTree().WriteTo(world / "data.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "data.vp")));
    CORBISTAVView* pList = Frame().GetListView();
    ASSERT_EQ(pList->model()->columnCount(), 4);
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 900), QSize(1920, 1080)})
    {
        Frame().ApplyPlacement(Frame().FirstPlacement(QRect(QPoint(0, 0), screen)));
        QApplication::processEvents();
        EXPECT_LE(pList->horizontalHeader()->length(), pList->viewport()->width())
            << screen.width() << "x" << screen.height();
    }
}

TEST_F(GuiTest, LayoutFollowsTheStaticSplitterRules)
{
    ASSERT_TRUE(Start());
    Frame().ApplyPlacement(InitialPlacement(QRect(0, 0, 1024, 768), 1.0, 0));
    QApplication::processEvents();
    EXPECT_EQ(Frame().MainSplitter()->sizes().value(0), 275);
    EXPECT_EQ(Frame().LeftSplitter()->sizes().value(0), 400);
    EXPECT_GE(Frame().LeftSplitter()->sizes().value(1), 50);
    EXPECT_EQ(Frame().PreviewSplitter()->sizes().value(0), 22);
    EXPECT_EQ(Frame().PreviewSplitter()->handleWidth(), 3);
    EXPECT_FALSE(Frame().PreviewSplitter()->handle(1)->isEnabled());

    // Too little room below the tree hides the preview area; more shows it again.
    const int nChrome = Frame().height() - Frame().LeftSplitter()->height();
    Frame().resize(800, nChrome + 400 + 40);
    QApplication::processEvents();
    EXPECT_EQ(Frame().LeftSplitter()->sizes().value(1), 0);
    Frame().resize(800, 600);
    QApplication::processEvents();
    EXPECT_GE(Frame().LeftSplitter()->sizes().value(1), 50);
}

TEST_F(GuiTest, ToolbarMenusAndPrompts)
{
    ASSERT_TRUE(Start());
    QStringList labels;
    for (QToolButton* pButton : Frame().MainToolBar()->findChildren<QToolButton*>())
        if (pButton->objectName().startsWith("toolbarButton"))
            labels << pButton->text() + (pButton->isEnabled() ? "" : " (disabled)");
    EXPECT_EQ(labels,
              QStringList({"Load .VP/.VPP", "Extract to default dir (disabled)", "Extract to dir",
                           "Extract to FS DATA dir (disabled)", "Options", " (disabled)"}));

    const QList<QMenu*> menus = Frame().menuBar()->findChildren<QMenu*>();
    ASSERT_GE(menus.size(), 4);
    EXPECT_EQ(MenuTexts(menus[1]),
              QStringList({"&Open selected file\tF3", "&Extract to Default Dir\tF4",
                           "Extract to &Dir\tShift+F4", "Extract to FREESPACE D&ata dir\tCtrl+F4",
                           "-", "&Play / Preview\tF2", "S&top / Close Preview\tShift+F2", "-",
                           "&Select current directory\tCtrl+A"}));
    EXPECT_EQ(MenuTexts(menus[2]).size(), 8);
    EXPECT_EQ(MenuTexts(menus[2])[3], "-");
    EXPECT_EQ(MenuTexts(menus[3]), QStringList({"NAVPRIMER &Quick Start Tutorial\tF1", "-",
                                                "&Check for new version", "&About"}));

    QAction* pExtract = Frame().Commands().Action(ID_EXTRACT_TO_DIR);
    EXPECT_EQ(pExtract->statusTip(), "Extract to a directory of your choice");
    QStatusTipEvent tip(pExtract->statusTip());
    QApplication::sendEvent(&Frame(), &tip);
    EXPECT_EQ(StatusPane(0), "Extract to a directory of your choice");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&Frame(), &leave);
    EXPECT_EQ(StatusPane(0), "Ready");

    menus[3]->actions().last()->trigger();
    menus[3]->actions()[2]->trigger();
    EXPECT_EQ(platform.companionCalls, QStringList({"DoAbout", "DoVXVC"}));
}

TEST_F(GuiTest, RulesFollowSelectionGameDirectoryAndInstalledTools)
{
    std::filesystem::create_directories(world / "games/FS2/data");
    DataTree().WriteTo(world / "games/FS2/root_fs2.vp");
    WriteSuiteString("\\Games Configuration\\FreeSpace 2", "Path", world / "games/FS2");
    // The earlier version is known only from the legacy module file.
    std::filesystem::create_directories(world / "drive_c/Kroy/Orbistav1");
    WriteBytes(world / "drive_c/Kroy/Orbistav1/orbistav.exe", {'M', 'Z'});
    WriteBytes(world / "drive_c/kroy.cfg", std::vector<unsigned char>({'x'}));
    const std::string cfg = "[Directories]\r\nKroy3=C:\\Kroy\r\n";
    WriteBytes(world / "drive_c/kroy.cfg", std::vector<unsigned char>(cfg.begin(), cfg.end()));
    const std::string ini = "[Moduls_Dirs]\r\nORBISTAV=C:\\Kroy\\Orbistav1\r\n[Moduls_EXEs]"
                            "\r\nORBISTAV=orbistav.exe\r\n";
    WriteBytes(world / "drive_c/Kroy/kroy.ini", std::vector<unsigned char>(ini.begin(), ini.end()));

    ASSERT_TRUE(Start(QString::fromStdString(world / "games/FS2/root_fs2.vp")));
    EXPECT_TRUE(Enabled(ID_EXTRACT_FS_DATA));
    EXPECT_TRUE(Enabled(ID_TOOL_PREVIOUS_VERSION));
    EXPECT_FALSE(Enabled(ID_TOOL_LOOMWRIGHT_OPEN));

    CORBISTAVView* pList = Frame().GetListView();
    EXPECT_FALSE(Enabled(ID_OPEN_SELECTED));
    SelectRow(pList, 0);
    EXPECT_TRUE(Enabled(ID_OPEN_SELECTED)); // a folder row too
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL));
    EXPECT_EQ(pList->SelectedRows().size(), 2u);
    EXPECT_FALSE(Enabled(ID_OPEN_SELECTED));
    EXPECT_FALSE(Frame().Commands().Run(ID_EXTRACT_DEFAULT));

    VppBuilder().File("a.tga", "t").WriteTo(world / "b.vpp");
    ASSERT_TRUE(app->OpenDocumentFile(QString::fromStdString(world / "b.vpp")));
    EXPECT_FALSE(Enabled(ID_EXTRACT_FS_DATA));
    EXPECT_FALSE(Enabled(ID_TOOL_PREVIOUS_VERSION));
    EXPECT_EQ(ColumnTitles(pList), QStringList({"Filename", "Type", "Size"}));
    EXPECT_EQ(TreeTexts(Frame().GetTreeView()),
              QStringList({"<All files>", "  TGA files (TGA graphic)"}));
}

TEST_F(GuiTest, KeysReachTheirCommands)
{
    DataTree().WriteTo(world / "data.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "data.vp")));
    CORBISTAVView* pList = Frame().GetListView();
    QApplication::setActiveWindow(&Frame());
    pList->setFocus();
    QTest::keyClick(pList, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pList->SelectedRows().size(), 2u);
    QTest::keyClick(pList, Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), Frame().GetTreeView());
    QTest::keyClick(Frame().GetTreeView(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), pList);
}

TEST_F(GuiTest, PreviewCommandsFollowThePreviewPane)
{
    ASSERT_TRUE(WriteSetting(kSettingAutoShowPCX, 0));
    DataTree().WriteTo(world / "data.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "data.vp")));
    EXPECT_EQ(app->m_bAutoShowPCX, 0);

    // maps holds nebula.pcx: selecting it makes the pane wait for Play/Preview.
    QTreeWidget* pTree = Frame().GetTreeView();
    pTree->setCurrentItem(pTree->topLevelItem(0)->child(1));
    CORBISTAVView* pList = Frame().GetListView();
    ASSERT_EQ(pList->model()->rowCount(), 1);
    EXPECT_FALSE(Enabled(ID_PLAY_PREVIEW));
    SelectRow(pList, 0);
    EXPECT_TRUE(Frame().GetPreview()->m_bPreviewable);
    EXPECT_TRUE(Enabled(ID_PLAY_PREVIEW));
    EXPECT_FALSE(Enabled(ID_STOP_PREVIEW));

    // A table shows its text at once, like a TGA: Play/Preview shows it again.
    pTree->setCurrentItem(pTree->topLevelItem(0)->child(0));
    SelectRow(pList, 0);
    EXPECT_TRUE(Frame().GetPreview()->ShowsText());
    EXPECT_TRUE(Enabled(ID_PLAY_PREVIEW));
    EXPECT_FALSE(Enabled(ID_STOP_PREVIEW));
}

TEST_F(GuiTest, PreviewStatesFollowTheEntryKindAndTheSettings)
{
    const auto pixel = [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x), 9, static_cast<std::uint8_t>(y)};
    };
    std::array<Rgb, 256> palette{};
    VpBuilder()
        .Dir("data")
        .File("title.pcx",
              MakePcx8(
                  6, 4, [](int x, int) { return static_cast<std::uint8_t>(x); }, palette))
        .File("ship.tga", MakeTga(5, 3, 24, false, pixel))
        .File("intro.ani", MakeAni(3, 2, 15, 0xEE, palette,
                                   {EncodeAniFrame(1, {1, 2, 3, 4, 5, 6}, 0xEE),
                                    EncodeAniFrame(0, {254, 254, 254, 254, 254, 9}, 0xEE)}))
        .File("ships.tbl", "#Ships")
        .Up()
        .WriteTo(world / "media.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "media.vp")));
    QTreeWidget* pTree = Frame().GetTreeView();
    pTree->setCurrentItem(pTree->topLevelItem(0));
    CORBISTAVView* pList = Frame().GetListView();
    ASSERT_EQ(pList->model()->rowCount(), 4);
    auto* pCaption = Frame().GetPreviewToolbar()->findChild<QLabel*>("previewCaption");
    ASSERT_NE(pCaption, nullptr);
    // What the preview toolbar shows: its two buttons and the caption.
    auto* pBar = Frame().GetPreviewToolbar()->findChild<QToolBar*>("previewToolBar");
    ASSERT_NE(pBar, nullptr);
    const auto Button = [&](int nId)
    {
        Frame().Commands().UpdateAll();
        QWidget* pButton = pBar->widgetForAction(Frame().Commands().Action(nId));
        return pButton != nullptr && pButton->isEnabled();
    };
    const auto State = [&]
    {
        return QStringLiteral("%1 %2 %3")
            .arg(Button(ID_PLAY_PREVIEW) ? "play" : "-", Button(ID_STOP_PREVIEW) ? "stop" : "-",
                 pCaption->text());
    };

    // Row 0 pcx, 1 tga, 2 ani, 3 tbl. A TGA and text are shown whatever the settings say.
    for (const int nOn : {1, 0})
    {
        app->m_bAutoShowPCX = app->m_bAutoPlayANI = nOn;
        const QStringList expected =
            nOn ? QStringList{"- stop 6x4", "play - 5x3", "- stop 3x2 - Frame 1/2", "play - 1 line"}
                : QStringList{"play - ", "play - 5x3", "play - ", "play - 1 line"};
        for (int nRow = 0; nRow < 4; ++nRow)
        {
            SelectRow(pList, nRow);
            EXPECT_EQ(State(), expected[nRow]) << nOn << " row " << nRow;
        }
    }

    // Play/Preview shows the waiting animation; Stop/Close goes back to the prompt.
    SelectRow(pList, 2);
    ASSERT_TRUE(Frame().Commands().Run(ID_PLAY_PREVIEW));
    EXPECT_EQ(State(), "- stop 3x2 - Frame 1/2");
    EXPECT_GT(Frame().GetPreview()->AniTimerInterval(), 0);
    ASSERT_TRUE(Frame().Commands().Run(ID_STOP_PREVIEW));
    EXPECT_EQ(State(), "play - ");
    EXPECT_EQ(Frame().GetPreview()->AniTimerInterval(), 0);

    // Opening an archive stops the animation before it reads.
    ASSERT_TRUE(Frame().Commands().Run(ID_PLAY_PREVIEW));
    platform.openFileAnswers = {QString::fromStdString(world / "media.vp")};
    ASSERT_TRUE(Frame().Commands().Run(ID_FILE_OPEN));
    EXPECT_EQ(Frame().GetPreview()->AniTimerInterval(), 0);
    EXPECT_EQ(Frame().GetPreview()->m_nHeight, 0);
    EXPECT_TRUE(pCaption->text().isEmpty());
}

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Sounds go nowhere unless a test chooses an audio driver.
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
