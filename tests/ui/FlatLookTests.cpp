#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "CFlatControl.h"
#include "CFlatLookManager.h"
#include "CFlatScrollBar.h"
#include "CFlatSpin.h"
#include "UiTestColours.h"

namespace
{
CFlatLookManager& Manager()
{
    return CFlatLookManager::Instance();
}

// The colours of the outer and inner ring, left/top and right/bottom, across the middle.
QStringList Rings(QWidget& widget)
{
    const QImage image = Grab(widget);
    const int y = image.height() / 2;
    const int w = image.width();
    return {ColourAt(image, 0, y), ColourAt(image, w - 1, y), ColourAt(image, 1, y),
            ColourAt(image, w - 2, y)};
}

void HoverOver(QWidget* pWidget)
{
    QCursor::setPos(pWidget ? pWidget->mapToGlobal(pWidget->rect().center()) : QPoint(-500, -500));
    Manager().OnHoverTimer();
}

struct FlatDialog : ::testing::Test
{
    QDialog dialog;
    QVBoxLayout* pLayout = new QVBoxLayout(&dialog);

    template <class T, class... Args> T* Add(Args&&... args)
    {
        auto* p = new T(std::forward<Args>(args)...);
        pLayout->addWidget(p);
        return p;
    }
    void Show()
    {
        dialog.move(100, 100);
        dialog.show();
        dialog.activateWindow();
        QApplication::processEvents();
    }
    void TearDown() override { HoverOver(nullptr); }
};
} // namespace

TEST_F(FlatDialog, EditIsFlatWhenIdleAndSunkenWhenHotOrFocused)
{
    auto* pEdit = Add<QLineEdit>();
    auto* pTall = Add<QLineEdit>();
    pTall->setFixedHeight(34);
    auto* pReadOnly = Add<QLineEdit>();
    pReadOnly->setReadOnly(true);
    auto* pDisabled = Add<QLineEdit>();
    pDisabled->setEnabled(false);
    auto* pOther = Add<QPushButton>(QStringLiteral("Other"));
    Show();
    pOther->setFocus();

    const QStringList sunken{"BTNSHADOW", "BTNHIGHLIGHT", "3DDKSHADOW", "3DLIGHT"};
    // A low edit lights its inner top-left ring fully, a tall one with the 3D light.
    EXPECT_EQ(Rings(*pEdit), (QStringList{"BTNSHADOW", "BTNHIGHLIGHT", "BTNHIGHLIGHT", "3DLIGHT"}));
    EXPECT_EQ(Rings(*pTall), (QStringList{"BTNSHADOW", "BTNHIGHLIGHT", "3DLIGHT", "3DLIGHT"}));
    const QStringList flatFace{"BTNSHADOW", "BTNHIGHLIGHT", "BTNFACE", "BTNFACE"};
    EXPECT_EQ(Rings(*pReadOnly), flatFace);
    EXPECT_EQ(Rings(*pDisabled), flatFace);

    HoverOver(pEdit);
    EXPECT_EQ(Manager().HotWindow(), pEdit);
    EXPECT_EQ(Rings(*pEdit), sunken);
    HoverOver(pOther);
    EXPECT_EQ(Rings(*pEdit)[2], "BTNHIGHLIGHT");

    pEdit->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(pEdit->hasFocus());
    EXPECT_EQ(Rings(*pEdit), sunken);
    HoverOver(pEdit);
    HoverOver(nullptr);
    EXPECT_EQ(Rings(*pEdit), sunken) << "focused, it keeps its 3D frame after the cursor left";
}

TEST_F(FlatDialog, CheckBoxAndRadioRingGeometry)
{
    auto* pBox = Add<QCheckBox>(QStringLiteral("Box"));
    auto* pRightBox = Add<QCheckBox>(QStringLiteral("Right"));
    pRightBox->setLayoutDirection(Qt::RightToLeft);
    auto* pRadio = Add<QRadioButton>(QStringLiteral("Radio"));
    auto* pOffRadio = Add<QRadioButton>(QStringLiteral("Disabled"));
    pOffRadio->setEnabled(false);
    for (QWidget* p : {static_cast<QWidget*>(pBox), static_cast<QWidget*>(pRightBox),
                       static_cast<QWidget*>(pRadio), static_cast<QWidget*>(pOffRadio)})
        p->setFixedHeight(21);
    Show();

    // 13 x 13 box, vertically centred: top (21 - 13) / 2 = 4.
    QImage image = Grab(*pBox);
    EXPECT_EQ(ColourAt(image, 0, 4), "BTNSHADOW");
    EXPECT_EQ(ColourAt(image, 12, 4), "BTNHIGHLIGHT");
    EXPECT_EQ(ColourAt(image, 0, 15), "BTNSHADOW");
    EXPECT_EQ(ColourAt(image, 12, 16), "BTNHIGHLIGHT");
    EXPECT_EQ(ColourAt(image, 1, 5), "WINDOW");
    EXPECT_NE(ColourAt(image, 0, 3), "BTNSHADOW");
    EXPECT_NE(ColourAt(image, 13, 10), "BTNHIGHLIGHT");
    HoverOver(pBox);
    image = Grab(*pBox);
    EXPECT_EQ(ColourAt(image, 0, 4), "3DDKSHADOW");
    EXPECT_EQ(ColourAt(image, 1, 5), "BTNSHADOW");

    image = Grab(*pRightBox);
    EXPECT_EQ(ColourAt(image, image.width() - 13, 4), "BTNSHADOW");
    EXPECT_EQ(ColourAt(image, image.width() - 1, 16), "BTNHIGHLIGHT");

    // 12 x 12 ring from (1, 4): one pixel of each set.
    auto ring = [](QWidget& w, int x, int y) { return ColourAt(Grab(w), 1 + x, 4 + y); };
    EXPECT_EQ(ring(*pRadio, 4, 0), "BTNSHADOW"); // outer upper-left
    EXPECT_EQ(ring(*pRadio, 4, 1), "WINDOW");    // inner upper-left
    EXPECT_EQ(ring(*pRadio, 4, 10), "BTNFACE");  // inner lower-right
    EXPECT_EQ(ring(*pRadio, 11, 6), "WINDOW");   // outer lower-right
    EXPECT_EQ(ring(*pOffRadio, 4, 1), "BTNFACE");
    EXPECT_EQ(ring(*pOffRadio, 11, 6), "BTNHIGHLIGHT");
    HoverOver(pRadio);
    EXPECT_EQ(ring(*pRadio, 4, 1), "3DDKSHADOW");
}

TEST_F(FlatDialog, DressesEachDialogOnceByClass)
{
    auto* pGroup = Add<QGroupBox>(QStringLiteral("Group"));
    auto* pFlat = Add<QPushButton>(QStringLiteral("Flat"));
    pFlat->setFlat(true);
    auto* pBare = Add<QLineEdit>();
    pBare->setFrame(false);
    auto* pSpin = Add<QSpinBox>();
    auto* pCombo = Add<QComboBox>();
    pCombo->setEditable(true);
    auto* pPush = Add<QPushButton>(QStringLiteral("Push"));
    QDialog inner(&dialog, Qt::Widget);
    auto* pInnerEdit = new QLineEdit(&inner);
    pLayout->addWidget(&inner);
    Show();

    EXPECT_TRUE(Manager().IsDialogSubclassed(&dialog));
    EXPECT_EQ(Manager().FindControl(pGroup), nullptr);
    EXPECT_EQ(Manager().FindControl(pFlat), nullptr);
    EXPECT_EQ(Manager().FindControl(pBare), nullptr);
    EXPECT_EQ(Manager().FindControl(pCombo->lineEdit()), nullptr) << "framed with its combo box";
    EXPECT_NE(Manager().FindControl(pCombo), nullptr);
    EXPECT_NE(dynamic_cast<CFlatSpin*>(Manager().FindControl(pSpin)), nullptr);
    EXPECT_EQ(Manager().FindControl(pInnerEdit), nullptr) << "a dialog inside is its own";

    // Shown again (initialised twice): nothing is dressed a second time.
    CFlatControl* pPainter = Manager().FindControl(pPush);
    const int nCount = Manager().ControlCount();
    dialog.hide();
    Show();
    Manager().SubclassDialog(&dialog);
    EXPECT_EQ(Manager().ControlCount(), nCount);
    EXPECT_EQ(Manager().FindControl(pPush), pPainter);

    // A control added later is dressed when it shows; it leaves the table when destroyed.
    auto* pLate = Add<QLineEdit>();
    pLate->show();
    QApplication::processEvents();
    EXPECT_NE(Manager().FindControl(pLate), nullptr);
    delete pLate;
    EXPECT_EQ(Manager().ControlCount(), nCount);
}

TEST_F(FlatDialog, HoverPausesWhileTheMouseIsHeldAndFollowsHeaderItems)
{
    auto* pButton = Add<QPushButton>(QStringLiteral("Press"));
    auto* pTable = Add<QTableView>();
    QStandardItemModel model(2, 3);
    pTable->setModel(&model);
    Show();

    QTest::mousePress(pButton, Qt::LeftButton);
    pButton->grabMouse();
    HoverOver(pButton);
    EXPECT_EQ(Manager().HotWindow(), nullptr);
    pButton->releaseMouse();
    QTest::mouseRelease(pButton, Qt::LeftButton);
    HoverOver(pButton);
    EXPECT_EQ(Manager().HotWindow(), pButton);

    // Over a header section the header and its view are hot; the hot section follows the
    // cursor.
    QHeaderView* pHeader = pTable->horizontalHeader();
    CFlatControl* pHeaderPainter = Manager().FindControl(pHeader);
    ASSERT_NE(pHeaderPainter, nullptr);
    // The sections still paint themselves (their labels) under the frames.
    const QImage header = Grab(*pHeader);
    bool bLabel = false;
    for (int x = 0; x < pHeader->sectionSize(0); ++x)
        for (int y = 0; y < header.height(); ++y)
            bLabel = bLabel || qGray(header.pixel(x, y)) < 0x40;
    EXPECT_TRUE(bLabel);
    auto overSection = [&](int nSection, int dx)
    {
        const QPoint at(pHeader->sectionViewportPosition(nSection) + dx, pHeader->height() / 2);
        QCursor::setPos(pHeader->viewport()->mapToGlobal(at));
        Manager().OnHoverTimer();
        Grab(*pHeader);
    };
    overSection(0, 5);
    EXPECT_EQ(Manager().HotWindow(), pHeader);
    EXPECT_TRUE(Manager().FindControl(pTable)->State() & CFlatControl::STATE_HOT);
    EXPECT_EQ(pHeaderPainter->HotItem(), 0);
    EXPECT_FALSE(pHeaderPainter->IsNewHotSpot(QCursor::pos() + QPoint(3, 0), true));
    overSection(1, 5);
    EXPECT_EQ(pHeaderPainter->HotItem(), 1);
    HoverOver(nullptr);
    EXPECT_FALSE(Manager().FindControl(pTable)->State() & CFlatControl::STATE_HOT);
}

TEST(FlatScrollBar, ArrowsAndThumbAlongTheBar)
{
    // 200 pixels, values 0..90 with a page of 10: range 100, track 168, thumb 17.
    CFlatScrollBar::Geometry g = CFlatScrollBar::Layout(200, 0, 99, 10, 0);
    EXPECT_EQ(g.nArrow, 16);
    EXPECT_EQ(g.nThumbLength, 17);
    EXPECT_EQ(g.nThumbStart, 16);
    g = CFlatScrollBar::Layout(200, 0, 99, 10, 90);
    EXPECT_EQ(g.nThumbStart + g.nThumbLength, 200 - 16);
    // A short bar halves its arrows; a tiny page still gets the minimum thumb.
    g = CFlatScrollBar::Layout(20, 0, 9999, 1, 0);
    EXPECT_EQ(g.nArrow, 10);
    EXPECT_EQ(g.nThumbLength, 0);
    g = CFlatScrollBar::Layout(300, 0, 9999, 1, 0);
    EXPECT_EQ(g.nThumbLength, 8);
    // A page as large as the range: the thumb starts at the track and stops a pixel short.
    g = CFlatScrollBar::Layout(200, 0, 99, 100, 0);
    EXPECT_EQ(g.nThumbStart, 16);
    EXPECT_EQ(g.nThumbLength, 167);
}
