#include "CTextView.h"

#include <limits>

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimerEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
// Putting a 2 MiB mission (90 000 lines) into a text document takes about 200 ms; the pane
// shows its first screens at once and takes the rest in slices of about 10 ms.
constexpr int FIRST_SLICE_LINES = 1000;
constexpr qsizetype FIRST_SLICE_UNITS = 64 * 1024;
constexpr int SLICE_LINES = 4000;
constexpr qsizetype SLICE_UNITS = 256 * 1024;

constexpr int TAB_COLUMNS = 4;

// Columns of tables line up only when every glyph has one advance. fontconfig's
// "monospace" may be a font Qt does not call fixed-pitch (Noto Sans Mono), or one whose
// advances differ, so the advances themselves decide.
bool HasEvenAdvances(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(u'M');
    for (const char16_t c : u"iW.l_ 0#$;\u00e9")
        if (c != 0 && metrics.horizontalAdvance(QChar(c)) != advance)
            return false;
    return advance > 0;
}

QFont EvenPitchFont()
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (HasEvenAdvances(system))
        return system;
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Noto Sans Mono",
                               "Courier New", "FreeMono"})
    {
        QFont font(QString::fromLatin1(family), system.pointSize());
        font.setStyleHint(QFont::TypeWriter);
        if (HasEvenAdvances(font))
            return font;
    }
    return system;
}
} // namespace

CTextView::CTextView(QWidget* pParent) : QWidget(pParent)
{
    m_pEditor = new QPlainTextEdit(this);
    m_pEditor->setReadOnly(true);
    m_pEditor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_pEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pEditor->setFrameShape(QFrame::NoFrame);
    m_pEditor->setUndoRedoEnabled(false);
    const QFont font = EvenPitchFont();
    m_pEditor->setFont(font);
    m_pEditor->setTabStopDistance(TAB_COLUMNS * QFontMetricsF(font).horizontalAdvance(u' '));
    QPalette palette = m_pEditor->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
    {
        palette.setColor(group, QPalette::Base, CTableHighlighter::Background());
        palette.setColor(group, QPalette::Text, CTableHighlighter::Foreground());
        // The same when the find field has the focus, so the match stays in sight.
        palette.setColor(group, QPalette::Highlight, QColor(0x26, 0x4f, 0x78));
        palette.setColor(group, QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    }
    m_pEditor->setPalette(palette);
    m_pEditor->installEventFilter(this);
    m_pEditor->viewport()->installEventFilter(this);

    m_pFindBar = new QWidget(this);
    auto* pBarLayout = new QHBoxLayout(m_pFindBar);
    pBarLayout->setContentsMargins(2, 2, 2, 2);
    pBarLayout->setSpacing(2);
    m_pFindField = new QLineEdit(m_pFindBar);
    m_pFindField->setPlaceholderText(tr("Find"));
    m_pFindField->installEventFilter(this);
    auto* pPrevious = new QToolButton(m_pFindBar);
    pPrevious->setArrowType(Qt::UpArrow);
    pPrevious->setToolTip(tr("Previous match (Shift+Enter)"));
    auto* pNext = new QToolButton(m_pFindBar);
    pNext->setArrowType(Qt::DownArrow);
    pNext->setToolTip(tr("Next match (Enter)"));
    auto* pClose = new QToolButton(m_pFindBar);
    pClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    pClose->setToolTip(tr("Close (Esc)"));
    pClose->setAutoRaise(true);
    pBarLayout->addWidget(m_pFindField, 1);
    pBarLayout->addWidget(pPrevious);
    pBarLayout->addWidget(pNext);
    pBarLayout->addWidget(pClose);
    m_pFindBar->hide();
    connect(pPrevious, &QToolButton::clicked, this, &CTextView::FindPrevious);
    connect(pNext, &QToolButton::clicked, this, &CTextView::FindNext);
    connect(pClose, &QToolButton::clicked, this, &CTextView::HideFindBar);
    connect(m_pFindField, &QLineEdit::textChanged, this, [this] { ShowNotFound(false); });

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pEditor, 1);
    pLayout->addWidget(m_pFindBar);

    auto shortcut = [this](QKeySequence::StandardKey key, auto slot)
    {
        auto* pShortcut = new QShortcut(QKeySequence(key), this);
        pShortcut->setContext(Qt::WidgetWithChildrenShortcut);
        pShortcut->setEnabled(false);
        connect(pShortcut, &QShortcut::activated, this, slot);
        return pShortcut;
    };
    m_pFindShortcut = shortcut(QKeySequence::Find, [this] { ShowFindBar(); });
    m_pFindNextShortcut = shortcut(QKeySequence::FindNext, [this] { FindNext(); });
    m_pFindPreviousShortcut = shortcut(QKeySequence::FindPrevious, [this] { FindPrevious(); });
}

CTextView::~CTextView() = default;

void CTextView::SetText(const QString& text, TextSyntax syntax)
{
    m_loadTimer.stop();
    m_pEditor->clear();
    m_highlighter.Reset(syntax);
    m_pending = text;
    m_nPendingPos = 0;
    LoadSlice(FIRST_SLICE_LINES, FIRST_SLICE_UNITS);
    if (!IsComplete())
        m_loadTimer.start(0, this);
}

void CTextView::Clear()
{
    SetText(QString(), m_highlighter.Syntax());
}

bool CTextView::IsComplete() const
{
    return m_nPendingPos >= m_pending.size();
}

void CTextView::FinishLoading()
{
    if (IsComplete())
        return;
    m_loadTimer.stop();
    LoadSlice(std::numeric_limits<int>::max(), m_pending.size());
}

void CTextView::LoadSlice(int nMaxLines, qsizetype nMaxUnits)
{
    const QStringView rest = QStringView(m_pending).mid(m_nPendingPos);
    qsizetype nEnd = 0;
    for (int nLine = 0; nLine < nMaxLines && nEnd < rest.size(); ++nLine)
    {
        const qsizetype nBreak = rest.indexOf(u'\n', nEnd);
        const qsizetype nLineEnd = nBreak < 0 ? rest.size() : nBreak + 1;
        if (nLineEnd > nMaxUnits)
        {
            // A line longer than a slice is cut, but never between CR and LF nor inside a
            // character.
            if (nEnd == 0)
            {
                nEnd = nMaxUnits;
                if (rest[nEnd - 1] == u'\r' || rest[nEnd - 1].isHighSurrogate())
                    ++nEnd;
            }
            break;
        }
        nEnd = nLineEnd;
    }

    QTextDocument* pDocument = m_pEditor->document();
    const int nLastBlock = pDocument->blockCount() - 1;
    QTextCursor end(pDocument);
    end.movePosition(QTextCursor::End);
    end.insertText(rest.first(nEnd).toString());
    m_highlighter.TextAppended(*pDocument, nLastBlock, rest.first(nEnd));
    m_nPendingPos += nEnd;
    if (IsComplete())
        m_pending.clear();
}

void CTextView::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() != m_loadTimer.timerId())
    {
        QWidget::timerEvent(pEvent);
        return;
    }
    LoadSlice(SLICE_LINES, SLICE_UNITS);
    if (IsComplete())
        m_loadTimer.stop();
}

void CTextView::HighlightVisibleBlocks()
{
    const QAbstractTextDocumentLayout* pLayout = m_pEditor->document()->documentLayout();
    const qreal nHeight = m_pEditor->viewport()->height();
    QTextBlock block = m_pEditor->cursorForPosition(QPoint(0, 0)).block();
    // One block more than fills the viewport, for a first block scrolled partly out of view.
    for (qreal y = 0; block.isValid(); block = block.next())
    {
        m_highlighter.Highlight(block);
        if (y > nHeight)
            break;
        y += pLayout->blockBoundingRect(block).height();
    }
}

bool CTextView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (pWatched == m_pEditor->viewport())
    {
        if (type == QEvent::Paint)
            HighlightVisibleBlocks();
        else if (type == QEvent::MouseButtonPress || type == QEvent::ContextMenu)
            FinishLoading();
    }
    else if (pWatched == m_pEditor)
    {
        if (type == QEvent::KeyPress || type == QEvent::ContextMenu)
            FinishLoading();
    }
    else if (pWatched == m_pFindField && type == QEvent::KeyPress)
    {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() == Qt::Key_Escape)
        {
            HideFindBar();
            return true;
        }
        if (pKey->key() == Qt::Key_Return || pKey->key() == Qt::Key_Enter)
        {
            if (pKey->modifiers() & Qt::ShiftModifier)
                FindPrevious();
            else
                FindNext();
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CTextView::SetFindEnabled(bool bEnabled)
{
    m_bFindEnabled = bEnabled;
    m_pFindShortcut->setEnabled(bEnabled);
    m_pFindNextShortcut->setEnabled(bEnabled);
    m_pFindPreviousShortcut->setEnabled(bEnabled);
    if (!bEnabled)
        HideFindBar();
}

void CTextView::ShowFindBar()
{
    if (!m_bFindEnabled)
        return;
    m_pFindBar->show();
    m_pFindField->setFocus(Qt::ShortcutFocusReason);
    m_pFindField->selectAll();
}

void CTextView::HideFindBar()
{
    const bool bHadFocus = m_pFindBar->isAncestorOf(QWidget::focusWidget());
    m_pFindBar->hide();
    ShowNotFound(false);
    if (bHadFocus)
        m_pEditor->setFocus(Qt::OtherFocusReason);
}

bool CTextView::FindNext()
{
    return Find(false);
}

bool CTextView::FindPrevious()
{
    return Find(true);
}

bool CTextView::Find(bool bBackward)
{
    const QString needle = m_pFindField->text();
    if (!m_bFindEnabled || needle.isEmpty())
        return false;
    FinishLoading();
    QTextDocument* pDocument = m_pEditor->document();
    const QTextDocument::FindFlags flags =
        bBackward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = pDocument->find(needle, m_pEditor->textCursor(), flags);
    if (found.isNull())
    {
        QTextCursor wrapped(pDocument);
        if (bBackward)
            wrapped.movePosition(QTextCursor::End);
        found = pDocument->find(needle, wrapped, flags);
    }
    ShowNotFound(found.isNull());
    if (found.isNull())
        return false;
    m_pEditor->setTextCursor(found);
    m_pEditor->ensureCursorVisible();
    return true;
}

void CTextView::ShowNotFound(bool bNotFound)
{
    QPalette palette = m_pFindField->parentWidget()->palette();
    if (bNotFound)
    {
        palette.setColor(QPalette::Base, QColor(0xff, 0xc8, 0xc8));
        palette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x00));
    }
    m_pFindField->setPalette(palette);
}
