#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <sys/stat.h>

#include "CLeftView.h"
#include "CORBISTAVView.h"
#include "GuiTestSupport.h"
#include "VpBuilder.h"

namespace fs = std::filesystem;

namespace
{
QUrl FileUrl(const std::string& path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

struct DragDropTest : GuiTest
{
    void TearDown() override
    {
        ::unsetenv("TEMP");
        GuiTest::TearDown();
    }
    // Enter and drop as a file manager sends them, proposing a move; whether each was
    // accepted.
    std::pair<bool, bool> Drop(const QMimeData& data) const
    {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(&Frame(), &enter);
        QDropEvent drop(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(&Frame(), &drop);
        QCoreApplication::processEvents();
        EXPECT_EQ(drop.dropAction(), drop.isAccepted() ? Qt::CopyAction : Qt::MoveAction);
        return {enter.isAccepted(), drop.isAccepted()};
    }
};
} // namespace

TEST_F(DragDropTest, ADroppedArchiveOpensAsFileOpenOpensIt)
{
    VpBuilder().Dir("data").File("ships.tbl", "#Ships").Up().WriteTo(world / "a.vp");
    VpBuilder().Dir("data").File("other.tbl", "#Other").Up().WriteTo(world / "b.vp");
    ASSERT_TRUE(Start());
    QMimeData data;
    data.setUrls({FileUrl(world / "a.vp"), FileUrl(world / "b.vp")});
    EXPECT_EQ(Drop(data), std::make_pair(true, true));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - a.vp");
    EXPECT_EQ(app->RecentFiles().Paths(), std::vector<std::string>{world / "a.vp"});
    EXPECT_TRUE(platform.messages.isEmpty());

    // Whatever the file is, the open sequence decides and tells, as after File-Open.
    WriteBytes(world / "notes.txt", {'h', 'i'});
    data.setUrls({FileUrl(world / "notes.txt")});
    EXPECT_EQ(Drop(data), std::make_pair(true, true));
    EXPECT_EQ(platform.messages, QStringList({"Unsupported file extension."}));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - notes.txt");
}

TEST_F(DragDropTest, DropsThatAreNoLocalFileAreRefused)
{
    ASSERT_TRUE(Start());
    QMimeData text;
    text.setText(QString::fromStdString(world / "a.vp"));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.vp"))});
    for (const QMimeData* pData : {&text, &web})
        EXPECT_EQ(Drop(*pData), std::make_pair(false, false));
    EXPECT_EQ(Frame().windowTitle(), "Vantorel ORBISTAV - Untitled");
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(DragDropTest, DraggedRowsGoOutAsFilesInAPrivateFolder)
{
    fs::create_directories(world / "tmp");
    ::setenv("TEMP", (world / "tmp").c_str(), 1);
    TwoTablesAndAFolderVp()
        .Dir("bad")
        .RawEntry(1 << 30, 10, "damaged.tbl")
        .Up()
        .WriteTo(world / "data.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "data.vp")));
    QTreeWidget* pTree = Frame().GetTreeView();
    CORBISTAVView* pList = Frame().GetListView();
    pTree->setCurrentItem(pTree->topLevelItem(0));
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL)); // maps, ships.tbl, weapons.tbl
    const QString status = StatusPane(0);

    const std::unique_ptr<QMimeData> pData = pList->DragMimeData();
    ASSERT_TRUE(pData);
    EXPECT_TRUE(pData->hasFormat("text/uri-list"));
    const QList<QUrl> urls = pData->urls();
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(ReadFileText(urls[0].toLocalFile().toStdString()), "#Ships");
    EXPECT_EQ(ReadFileText(urls[1].toLocalFile().toStdString()), "#Weapons");
    const QString folder = QFileInfo(urls[0].toLocalFile()).path();
    EXPECT_EQ(QFileInfo(urls[1].toLocalFile()).path(), folder);
    EXPECT_EQ(QFileInfo(folder).path().toStdString(), world / "tmp");
    struct stat info = {};
    ASSERT_EQ(::stat(folder.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(StatusPane(0), status);

    // A file that cannot be written is told about, and no drag starts.
    pTree->setCurrentItem(pTree->topLevelItem(1));
    ASSERT_TRUE(Frame().Commands().Run(ID_SELECT_ALL));
    EXPECT_FALSE(pList->DragMimeData());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].contains("\\bad\\damaged.tbl"));

    app.reset();
    EXPECT_FALSE(QFileInfo::exists(folder));
}
