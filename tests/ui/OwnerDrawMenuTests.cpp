#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "CMainFrame.h"
#include "CORBISTAVApp.h"
#include "COwnerDrawMenu.h"
#include "CRecordingPlatform.h"
#include "CommandIds.h"
#include "TempDir.h"
#include "UiTestColours.h"

namespace
{
// The started program, its menu bar replaced by the owner-drawn one.
struct OwnerDrawMenu : ::testing::Test
{
    TempDir world;
    CRecordingPlatform platform;
    std::unique_ptr<CORBISTAVApp> app;

    void SetUp() override
    {
        ::setenv("QUILLMOOR_REGISTRY_DIR", (world / "registry").c_str(), 1);
        ::setenv("VANTOREL_DRIVE_C", (world / "drive_c").c_str(), 1);
        app = std::make_unique<CORBISTAVApp>(platform);
        ASSERT_TRUE(app->InitInstance(std::nullopt));
    }
    void TearDown() override
    {
        app.reset();
        ::unsetenv("QUILLMOOR_REGISTRY_DIR");
        ::unsetenv("VANTOREL_DRIVE_C");
    }
    QMenu* Popup(const QString& title) const
    {
        for (QAction* pAction : app->MainFrame()->menuBar()->actions())
            if (pAction->text() == title)
                return pAction->menu();
        return nullptr;
    }
    int Position(QMenu* pMenu, int nId) const
    {
        const QList<QAction*> actions = pMenu->actions();
        for (int i = 0; i < actions.size(); ++i)
            if (actions[i]->data().toInt() == nId)
                return i;
        return -1;
    }
    QMenu* OpenAction()
    {
        QMenu* pMenu = Popup(QStringLiteral("&Action"));
        pMenu->popup(QPoint(0, 0));
        QTest::qWait(10);
        return pMenu;
    }
};
} // namespace

TEST_F(OwnerDrawMenu, MnemonicsAnswerTheFirstItemThatMarksTheCharacter)
{
    COwnerDrawMenu& menu = *app->Menu();
    QMenu* pAction = Popup(QStringLiteral("&Action"));
    ASSERT_TRUE(menu.IsOwnMenu(pAction));
    const int nExecute = COwnerDrawMenu::MNC_EXECUTE << 16;
    EXPECT_EQ(menu.FindMnemonic('p', MF_POPUP, pAction),
              nExecute | Position(pAction, ID_PLAY_PREVIEW));
    EXPECT_EQ(menu.FindMnemonic('D', MF_POPUP, pAction),
              nExecute | Position(pAction, ID_EXTRACT_TO_DIR));
    EXPECT_EQ(menu.FindMnemonic('a', MF_POPUP, pAction),
              nExecute | Position(pAction, ID_EXTRACT_FS_DATA));
    EXPECT_EQ(menu.FindMnemonic('z', MF_POPUP, pAction), 0);
    EXPECT_EQ(menu.FindMnemonic('p', 0, pAction), 0) << "only popups answer";

    // Typed in the open popup, the item runs at once.
    QAction* pSelectAll = pAction->actions()[Position(pAction, ID_SELECT_ALL)];
    pSelectAll->setEnabled(true);
    QSignalSpy triggered(pSelectAll, &QAction::triggered);
    OpenAction();
    QTest::keyClick(pAction, Qt::Key_S);
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_FALSE(pAction->isVisible());
}

TEST_F(OwnerDrawMenu, ItemHeightsAndOneAcceleratorColumn)
{
    QMenu* pMenu = OpenAction();
    const QImage image = Grab(*pMenu);
    const int nLine = GetSystemMetrics(SM_CYMENU);
    std::set<int> rightEdges;
    std::set<int> leftEdges;
    for (QAction* pAction : pMenu->actions())
    {
        const QRect rect = pMenu->actionGeometry(pAction);
        if (pAction->isSeparator())
        {

            EXPECT_EQ(rect.height(), nLine / 2);
            EXPECT_EQ(ColourAt(image, rect.center().x(), rect.top() + rect.height() / 2),
                      "BTNSHADOW");
            continue;
        }
        EXPECT_GE(rect.height(), 19) << pAction->text().toStdString();
        if (pAction->shortcut().isEmpty())
            continue;
        // Where the accelerator's pixels end, and where the item text's begin.
        const int y0 = rect.top() + 3, y1 = rect.bottom() - 3;
        auto inked = [&](int x)
        {
            for (int y = y0; y <= y1; ++y)
                if (ColourAt(image, x, y) != "MENU" && ColourAt(image, x, y) != "HIGHLIGHT")
                    return true;
            return false;
        };
        int nRight = rect.right();
        while (nRight > rect.center().x() && !inked(nRight))
            --nRight;
        int nLeft = rect.left() + 16 + 6;
        while (nLeft < rect.center().x() && !inked(nLeft))
            ++nLeft;
        rightEdges.insert(nRight);
        leftEdges.insert(nLeft);
    }
    // Texts of one font end within a pixel or two of the column's right edge.
    ASSERT_FALSE(rightEdges.empty());
    EXPECT_LE(*rightEdges.rbegin() - *rightEdges.begin(), 2);
    EXPECT_LE(*rightEdges.rbegin(), pMenu->width() - 3 - 16);
    EXPECT_LE(*leftEdges.rbegin() - *leftEdges.begin(), 2);
    pMenu->hide();
}

TEST_F(OwnerDrawMenu, DisabledCommandShowsAnEngravedIcon)
{
    // Without an archive, "Open selected file" is disabled and has its toolbar image.
    QMenu* pMenu = OpenAction();
    QAction* pOpen = pMenu->actions()[Position(pMenu, ID_OPEN_SELECTED)];
    ASSERT_FALSE(pOpen->isEnabled());
    const OwnerDrawMenuItem* pItem = app->Menu()->FindPopup(pMenu)->FindItem(pOpen);
    ASSERT_NE(pItem, nullptr);
    EXPECT_EQ(pItem->nImageSource, IDR_MENU_IMAGES);

    const QImage image = Grab(*pMenu);
    const QRect rect = pMenu->actionGeometry(pOpen);
    const int o = std::max(0, (rect.height() - 15 - 4) / 2);
    std::set<QString> colours;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x)
            colours.insert(ColourAt(image, rect.left() + 2 + x, rect.top() + o + 2 + y));
    EXPECT_EQ(colours, (std::set<QString>{"BTNFACE", "BTNHIGHLIGHT", "BTNSHADOW"}));
    pMenu->hide();
}

TEST_F(OwnerDrawMenu, ItemsAddedBehindItsBackAreDrawnLikeTheOthersOnceOpened)
{
    QMenu* pFile = Popup(QStringLiteral("&File"));
    app->MainFrame()->SetRecentFiles({QStringLiteral("/games/fs2/data.vp")});
    QAction* pRecent = nullptr;
    for (QAction* pAction : pFile->actions())
        if (pAction->text().contains(QStringLiteral("data.vp")))
            pRecent = pAction;
    ASSERT_NE(pRecent, nullptr);
    COwnerDrawMenu* pPopup = app->Menu()->FindPopup(pFile);
    EXPECT_EQ(pPopup->FindItem(pRecent), nullptr);
    emit pFile->aboutToShow();
    const OwnerDrawMenuItem* pItem = pPopup->FindItem(pRecent);
    ASSERT_NE(pItem, nullptr);
    EXPECT_TRUE(pItem->nFlags & MF_OWNERDRAW);
    EXPECT_EQ(pPopup->Items().size(), static_cast<std::size_t>(pFile->actions().size()));
}
