#include <gtest/gtest.h>

#include <map>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>

#include "CAutoPreviewToolbar.h"
#include "CommandIds.h"

namespace
{
// The frame's actions for the preview buttons, owned by a stand-in for the frame.
class PreviewToolbarForm : public ::testing::Test
{
protected:
    PreviewToolbarForm()
    {
        for (int id : {ID_PLAY_PREVIEW, ID_STOP_PREVIEW, ID_OPEN_SELECTED, ID_BLANK})
            m_actions[id] = new QAction(&m_frame);
        m_actions[ID_PLAY_PREVIEW]->setToolTip(QStringLiteral("Play/Preview"));
        m_actions[ID_BLANK]->setEnabled(false);
    }

    CAutoPreviewToolbar* MakeForm(QWidget* pParent = nullptr)
    {
        auto* pForm = new CAutoPreviewToolbar(
            [this](int id) -> QAction*
            {
                auto it = m_actions.find(id);
                return it == m_actions.end() ? nullptr : it->second;
            },
            pParent);
        if (!pParent)
            m_form.reset(pForm);
        pForm->resize(275, 40);
        pForm->show();
        QApplication::processEvents();
        m_pBar = pForm->findChild<QToolBar*>(QStringLiteral("previewToolBar"));
        EXPECT_NE(m_pBar, nullptr);
        return pForm;
    }

    // Every button lies on the bar, none behind an overflow arrow, within the 22-pixel row.
    void ExpectAllButtonsShown() const
    {
        for (QAction* pAction : m_pBar->actions())
        {
            if (pAction->isSeparator())
                continue;
            QWidget* pButton = m_pBar->widgetForAction(pAction);
            ASSERT_NE(pButton, nullptr);
            EXPECT_TRUE(pButton->isVisible());
            EXPECT_TRUE(m_pBar->rect().contains(pButton->geometry()));
        }
        EXPECT_GE(m_pBar->y(), 0);
        EXPECT_LE(m_pBar->geometry().bottom(), 21);
    }

    QObject m_frame;
    std::map<int, QAction*> m_actions;
    std::unique_ptr<QStyle> m_style; // outlives the form that may use it
    std::unique_ptr<CAutoPreviewToolbar> m_form;
    QToolBar* m_pBar = nullptr;
};
} // namespace

TEST_F(PreviewToolbarForm, IsOneRowOf22PixelsEvenInATallerPane)
{
    QSplitter splitter(Qt::Vertical);
    CAutoPreviewToolbar* pForm = MakeForm(&splitter);
    splitter.addWidget(new QWidget);
    splitter.resize(275, 300);
    splitter.show();
    QApplication::processEvents();
    EXPECT_EQ(pForm->height(), 22);
    EXPECT_EQ(pForm->maximumHeight(), 22);
    ExpectAllButtonsShown();
}

TEST_F(PreviewToolbarForm, PlacesTheFrameActionsInOrder)
{
    MakeForm();
    const QList<QAction*> actions = m_pBar->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[0], m_actions[ID_PLAY_PREVIEW]);
    EXPECT_EQ(actions[1], m_actions[ID_STOP_PREVIEW]);
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3], m_actions[ID_OPEN_SELECTED]);
    EXPECT_TRUE(actions[4]->isSeparator());
    EXPECT_EQ(actions[5], m_actions[ID_BLANK]);
    EXPECT_EQ(m_pBar->iconSize(), QSize(16, 15));
    EXPECT_FALSE(m_pBar->isMovable());
    ExpectAllButtonsShown();

    // The buttons follow the frame's actions: enabling, tooltip, triggering.
    auto* pPlay = qobject_cast<QToolButton*>(m_pBar->widgetForAction(actions[0]));
    ASSERT_NE(pPlay, nullptr);
    EXPECT_FALSE(m_pBar->widgetForAction(actions[5])->isEnabled());
    actions[0]->setEnabled(false);
    EXPECT_FALSE(pPlay->isEnabled());
    EXPECT_FALSE(pPlay->icon().isNull());
    EXPECT_EQ(pPlay->toolTip(), QStringLiteral("Play/Preview"));
    actions[0]->setEnabled(true);
    int nTriggered = 0;
    QObject::connect(actions[0], &QAction::triggered, [&] { ++nTriggered; });
    pPlay->click();
    EXPECT_EQ(nTriggered, 1);
}

TEST_F(PreviewToolbarForm, CommandWithoutActionGetsADisabledButton)
{
    delete m_actions[ID_BLANK];
    m_actions.erase(ID_BLANK);
    MakeForm();
    const QList<QAction*> actions = m_pBar->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_FALSE(actions[5]->isSeparator());
    EXPECT_FALSE(actions[5]->isEnabled());
}

TEST_F(PreviewToolbarForm, ButtonsStayOnTheBarAfterAStyleChange)
{
    // A new style brings back its own toolbar margins, which would push the last button
    // behind an overflow arrow.
    m_style.reset(QStyleFactory::create(QStringLiteral("Fusion")));
    ASSERT_NE(m_style, nullptr);
    MakeForm();
    m_pBar->setStyle(m_style.get());
    QApplication::processEvents();
    ExpectAllButtonsShown();
}

TEST_F(PreviewToolbarForm, CaptionIsSetAndClearedRightOfTheButtons)
{
    CAutoPreviewToolbar* pForm = MakeForm();
    auto* pCaption = pForm->findChild<QLabel*>(QStringLiteral("previewCaption"));
    ASSERT_NE(pCaption, nullptr);
    EXPECT_TRUE(pCaption->text().isEmpty());
    pForm->SetCaptionText(QStringLiteral("320x200 - Frame 3/12"));
    EXPECT_EQ(pCaption->text(), QStringLiteral("320x200 - Frame 3/12"));
    pForm->SetCaptionText(QString());
    EXPECT_TRUE(pCaption->text().isEmpty());

    EXPECT_GT(pCaption->x(), m_pBar->geometry().right());
    EXPECT_LE(pCaption->geometry().bottom(), 21);
    EXPECT_EQ(pCaption->font().pointSize(), 8);
    EXPECT_GE(pCaption->width(),
              pCaption->fontMetrics().horizontalAdvance(QStringLiteral("640x480 - Frame 100/100")));
}
