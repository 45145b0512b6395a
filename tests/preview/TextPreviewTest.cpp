#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "CTextView.h"

namespace
{
class TextPreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view.resize(275, 300);
        m_view.show();
    }

    // The colour the block's character is painted in.
    std::string ColourAt(int nBlock, int nPos) const
    {
        const QTextBlock block = Editor()->document()->findBlockByNumber(nBlock);
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            if (nPos >= range.start && nPos < range.start + range.length)
                return range.format.foreground().color().name().toStdString();
        return Plain();
    }

    static std::string Colour(TextSpanKind kind)
    {
        return CTableHighlighter::Format(kind).foreground().color().name().toStdString();
    }
    static std::string Plain() { return CTableHighlighter::Foreground().name().toStdString(); }

    void ShowFrom(int nBlock)
    {
        Editor()->verticalScrollBar()->setValue(nBlock);
        m_view.grab();
    }

    QPlainTextEdit* Editor() const { return m_view.Editor(); }

    CTextView m_view;
};
} // namespace

TEST_F(TextPreview, ShowsTheTextReadOnlyInAFixedPitchFontAndCopiesIt)
{
    const QString text = QString::fromUtf8("#Ships\n$Name: Caf\u00E9\t; \u20AC\n");
    m_view.SetText(text);
    EXPECT_EQ(Editor()->toPlainText(), text);
    EXPECT_TRUE(Editor()->isReadOnly());
    // What a reader sees of a fixed-pitch font: every glyph as wide as the next.
    const QFontMetricsF metrics(Editor()->font());
    for (const QChar c : QStringLiteral("iW.l_ 0#\u00e9"))
        EXPECT_EQ(metrics.horizontalAdvance(c), metrics.horizontalAdvance(u'M')) << int(c.unicode());
    EXPECT_EQ(Editor()->lineWrapMode(), QPlainTextEdit::NoWrap);

    QApplication::clipboard()->clear();
    QTest::keyClick(Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Editor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    std::unique_ptr<QMenu> menu(Editor()->createStandardContextMenu());
    const auto actions = menu->actions();
    EXPECT_TRUE(std::any_of(actions.begin(), actions.end(),
                            [](const QAction* pAction)
                            { return pAction->text().contains("Copy") && pAction->isEnabled(); }));
}

// Long texts reach the editor in slices; comments that open in one slice and close in the
// next, or far below, keep their colours wherever the view is when the blocks are painted.
TEST_F(TextPreview, ColoursSectionsFieldsAndCommentsOfALongTextAsItIsShown)
{
    QString text = "#Ships\n$Name: Alpha ; leader\n";
    for (int i = 2; i < 999; ++i)
        text += "+Speed: 90\n";
    text += "/* old ships\n*/\n"; // lines 999 and 1000
    for (int i = 1001; i < 2000; ++i)
        text += "$Mass: 1\n";
    text += "/* a comment of\n";
    for (int i = 2001; i < 3000; ++i)
        text += "$Hidden: 1\n";
    text += "*/\n$Last: 1";

    m_view.SetText(text);
    m_view.grab();
    EXPECT_EQ(ColourAt(0, 0), Colour(TextSpanKind::Section));
    EXPECT_EQ(ColourAt(1, 0), Colour(TextSpanKind::Field));
    EXPECT_EQ(ColourAt(1, 8), Plain());
    EXPECT_EQ(ColourAt(1, 14), Colour(TextSpanKind::Comment));

    // The end of what is in so far, before the rest comes.
    ASSERT_FALSE(m_view.IsComplete());
    ShowFrom(Editor()->verticalScrollBar()->maximum());
    for (int i = 0; i < 100 && !m_view.IsComplete(); ++i)
        QApplication::processEvents();
    ASSERT_TRUE(m_view.IsComplete());
    EXPECT_EQ(Editor()->toPlainText(), text);

    ShowFrom(995);
    EXPECT_EQ(ColourAt(999, 0), Colour(TextSpanKind::Comment));
    EXPECT_EQ(ColourAt(1000, 0), Colour(TextSpanKind::Comment));
    EXPECT_EQ(ColourAt(1001, 0), Colour(TextSpanKind::Field));
    ShowFrom(2500);
    EXPECT_EQ(ColourAt(2500, 0), Colour(TextSpanKind::Comment));
    ShowFrom(2990);
    EXPECT_EQ(ColourAt(3001, 0), Colour(TextSpanKind::Field));

    // A line longer than a slice is cut; the comment it opens still closes below it.
    text = "/* " + QString(100000, u'x') + "\r\n*/\n$Name: x\n";
    m_view.SetText(text);
    m_view.FinishLoading();
    EXPECT_EQ(Editor()->toPlainText(), "/* " + QString(100000, u'x') + "\n*/\n$Name: x\n");
    ShowFrom(0);
    EXPECT_EQ(ColourAt(1, 0), Colour(TextSpanKind::Comment));
    EXPECT_EQ(ColourAt(2, 0), Colour(TextSpanKind::Field));

    // The document also starts a block at U+FDD0, which is no line end in a table.
    m_view.SetText(QString::fromUtf16(u"$Name: x\n/* a\uFDD0b */ ;\n$Name: y\n"));
    ShowFrom(0);
    EXPECT_EQ(ColourAt(2, 0), Colour(TextSpanKind::Comment));
    EXPECT_EQ(ColourAt(3, 0), Colour(TextSpanKind::Field));
}

TEST_F(TextPreview, FindSelectsTheNextMatchWithoutRegardToCaseAndWrapsRound)
{
    QString text = "alpha\nBeta\n";
    for (int i = 0; i < 200; ++i)
        text += "filler\n";
    text += "ALPHAbet\n";
    m_view.SetText(text);
    m_view.SetFindEnabled(true);
    m_view.ShowFindBar();
    ASSERT_TRUE(m_view.FindBar()->isVisible());
    m_view.FindField()->setText("alpha");
    auto selected = [this]
    {
        return Editor()->textCursor().blockNumber() * 10 + Editor()->textCursor().selectionStart() -
               Editor()->textCursor().block().position();
    };

    QTest::keyClick(m_view.FindField(), Qt::Key_Return);
    EXPECT_EQ(selected(), 0);
    QTest::keyClick(m_view.FindField(), Qt::Key_Return);
    EXPECT_EQ(Editor()->textCursor().selectedText(), "ALPHA");
    EXPECT_EQ(selected(), 2020);
    EXPECT_TRUE(Editor()->viewport()->rect().contains(Editor()->cursorRect().center()));
    EXPECT_TRUE(m_view.FindNext());
    EXPECT_EQ(selected(), 0);
    QTest::keyClick(m_view.FindField(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selected(), 2020);

    m_view.FindField()->setText("gamma");
    EXPECT_FALSE(m_view.FindNext());
    const QColor field = m_view.FindField()->palette().color(QPalette::Base);
    EXPECT_GT(field.red(), field.green() + 40);
    EXPECT_EQ(selected(), 2020);

    QTest::keyClick(m_view.FindField(), Qt::Key_Escape);
    EXPECT_FALSE(m_view.FindBar()->isVisible());
}

TEST_F(TextPreview, CtrlFOpensTheFindBarOnlyWhenFindIsEnabled)
{
    m_view.SetText("#Ships\n");
    m_view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_view));
    Editor()->setFocus();

    QTest::keyClick(Editor(), Qt::Key_F, Qt::ControlModifier);
    m_view.ShowFindBar();
    EXPECT_FALSE(m_view.FindBar()->isVisible());

    m_view.SetFindEnabled(true);
    QTest::keyClick(Editor(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(m_view.FindBar()->isVisible());
    EXPECT_TRUE(m_view.FindField()->hasFocus());

    m_view.SetFindEnabled(false);
    EXPECT_FALSE(m_view.FindBar()->isVisible());
}
