#include "COptionsPage.h"

#include <QGroupBox>

#include "DialogUnits.h"

COptionsPage::COptionsPage(const QString& title, int cx, int cy, QWidget* pParent)
    : QWidget(pParent), m_strTitle(title)
{
    setFont(TahomaFont(8));
    m_base = DialogBaseUnits(font());
    setMinimumSize(DialogRect(m_base, 0, 0, cx, cy).size());
}

QWidget* COptionsPage::GetDlgItem(int nId) const
{
    return findChild<QWidget*>(QString::number(nId), Qt::FindDirectChildrenOnly);
}

void COptionsPage::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (m_bCreated)
        return;
    m_bCreated = true;
    OnInitDialog();
    // The first control that takes the Tab key gets the focus, as in a dialog.
    for (QWidget* pChild = nextInFocusChain(); pChild != this; pChild = pChild->nextInFocusChain())
    {
        if (isAncestorOf(pChild) && pChild->isEnabled() && pChild->isVisibleTo(this) &&
            (pChild->focusPolicy() & Qt::TabFocus))
        {
            pChild->setFocus(Qt::TabFocusReason);
            break;
        }
    }
}

void COptionsPage::PlaceControl(QWidget* pControl, int nId, int x, int y, int cx, int cy)
{
    pControl->setParent(this);
    if (nId != 0)
        pControl->setObjectName(QString::number(nId));
    QRect rect = DialogRect(m_base, x, y, cx, cy);
    // A drop-down list's layout height includes its open list; closed it is as high as the
    // style draws it.
    if (pControl->inherits("QComboBox"))
        rect.setHeight(pControl->sizeHint().height());
    pControl->setGeometry(rect);
    // A group box frames controls that were created before it; it must not cover them
    // and take their clicks.
    if (qobject_cast<QGroupBox*>(pControl))
        pControl->lower();
}
