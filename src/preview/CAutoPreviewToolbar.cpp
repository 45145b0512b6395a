#include "CAutoPreviewToolbar.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QToolBar>

#include "CommandIds.h"
#include "DialogUnits.h"
#include "ResourceImages.h"

namespace
{
// The height of the splitter row that holds the form.
constexpr int kFormHeight = 22;
} // namespace

CAutoPreviewToolbar::CAutoPreviewToolbar(const std::function<QAction*(int commandId)>& actionFor,
                                         QWidget* pParent)
    : QWidget(pParent), m_actionFor(actionFor)
{
    // The form's own font is that of its dialog layout.
    const QFont dialogFont = TahomaFont(8);
    setFont(dialogFont);
    setFixedHeight(kFormHeight);

    m_wndToolBar = new QToolBar(this);
    m_wndToolBar->setObjectName(QStringLiteral("previewToolBar"));
    m_wndToolBar->setMovable(false);
    m_wndToolBar->setFloatable(false);
    m_wndToolBar->setIconSize(QSize(16, 15));
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    m_wndCaption = new QLabel(this);
    m_wndCaption->setObjectName(QStringLiteral("previewCaption"));
    m_wndCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_wndCaption->setTextFormat(Qt::PlainText);

    m_wndToolBar->installEventFilter(this);
}

// The frame creates its commands after its panes, so the buttons are put on the bar only
// when the form first shows; taken earlier, they were stand-ins that stayed disabled.
void CAutoPreviewToolbar::showEvent(QShowEvent* pEvent)
{
    if (!m_bInitialized)
    {
        m_wndToolBar->addAction(ButtonAction(m_actionFor, ID_PLAY_PREVIEW));
        m_wndToolBar->addAction(ButtonAction(m_actionFor, ID_STOP_PREVIEW));
        m_wndToolBar->addSeparator();
        m_wndToolBar->addAction(ButtonAction(m_actionFor, ID_OPEN_SELECTED));
        m_wndToolBar->addSeparator();
        m_wndToolBar->addAction(ButtonAction(m_actionFor, ID_BLANK));
        m_bInitialized = true;
        LayOut();
    }
    QWidget::showEvent(pEvent);
}

bool CAutoPreviewToolbar::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // A new style resets the bar's margins after this filter has run, so the layout is
    // applied again once the bar has handled the change.
    if (pWatched == m_wndToolBar && pEvent->type() == QEvent::StyleChange)
    {
        QMetaObject::invokeMethod(this, &CAutoPreviewToolbar::LayOut, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CAutoPreviewToolbar::LayOut()
{
    const QSize base = DialogBaseUnits(font());

    // Tight like the original bar, so the buttons fit the place holder and use the full row.
    m_wndToolBar->setContentsMargins(0, 0, 0, 0);
    m_wndToolBar->layout()->setContentsMargins(0, 0, 0, 0);
    m_wndToolBar->layout()->setSpacing(0);

    // The place holder frame of the layout; a toolbar is never shorter than 29 pixels unless
    // its size is fixed. It is widened where the buttons of this style would not fit, so no
    // button hides behind an overflow arrow, and kept to the form's height.
    QRect bar = DialogRect(base, 1, 0, 64, 15);
    bar.setWidth(std::max(bar.width(), m_wndToolBar->sizeHint().width()));
    bar.setHeight(std::min(bar.height(), kFormHeight));
    m_wndToolBar->setFixedSize(bar.size());
    m_wndToolBar->move(bar.topLeft());

    QRect caption = DialogRect(base, 70, 2, 145, 10);
    caption.moveLeft(std::max(caption.left(), bar.right() + 1 + base.width()));
    m_wndCaption->setGeometry(caption);
}

void CAutoPreviewToolbar::SetCaptionText(const QString& text)
{
    m_wndCaption->setText(text);
    m_wndCaption->repaint();
}

QAction* CAutoPreviewToolbar::ButtonAction(const std::function<QAction*(int)>& actionFor,
                                           int commandId)
{
    QAction* pAction = actionFor ? actionFor(commandId) : nullptr;
    if (pAction == nullptr)
    {
        // A button without a command is shown disabled, as the blank button always is.
        pAction = new QAction(this);
        pAction->setEnabled(false);
    }
    if (pAction->icon().isNull())
    {
        pAction->setIcon(PreviewToolbarIcon(commandId));
    }
    return pAction;
}
