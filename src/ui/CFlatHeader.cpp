#include "CFlatHeader.h"

#include <QCursor>
#include <QEvent>
#include <QHeaderView>

#include "FrameDrawing.h"
#include "SystemLook.h"

bool CFlatHeader::WindowProc(QObject* pObj, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Paint)
        m_nHotItem = (m_nState & STATE_HOT) ? ItemAt(QCursor::pos()) : -1;
    return CFlatControl::WindowProc(pObj, pEvent);
}

int CFlatHeader::ItemAt(const QPoint& ptScreen) const
{
    const auto* pHeader = qobject_cast<const QHeaderView*>(m_pWnd.data());
    if (!pHeader)
        return -1;
    // Only while the cursor is inside the header's parent.
    const QWidget* pParent = pHeader->parentWidget();
    if (pParent && !pParent->rect().contains(pParent->mapFromGlobal(ptScreen)))
        return -1;
    const QPoint pt = pHeader->viewport()->mapFromGlobal(ptScreen);
    if (!pHeader->viewport()->rect().contains(pt))
        return -1;
    return pHeader->logicalIndexAt(pt);
}

bool CFlatHeader::IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow)
{
    return !bIsHotWindow || ItemAt(ptScreen) != m_nHotItem;
}

void CFlatHeader::GetFrameDC(QWidget*& pTarget, QRect& rect) const
{
    const auto* pHeader = qobject_cast<const QHeaderView*>(m_pWnd.data());
    pTarget = pHeader ? pHeader->viewport() : nullptr;
    rect = pTarget ? pTarget->rect() : QRect();
}

void CFlatHeader::DrawFrame(QPainter& dc, const QRect& rect)
{
    const auto* pHeader = qobject_cast<const QHeaderView*>(m_pWnd.data());
    if (!pHeader)
        return;
    const bool bHorizontal = pHeader->orientation() == Qt::Horizontal;
    int nEnd = 0;
    for (int nVisual = 0; nVisual < pHeader->count(); ++nVisual)
    {
        const int nLogical = pHeader->logicalIndex(nVisual);
        if (pHeader->isSectionHidden(nLogical))
            continue;
        const int nPos = pHeader->sectionViewportPosition(nLogical);
        const int nSize = pHeader->sectionSize(nLogical);
        const QRect item = bHorizontal ? QRect(nPos, 0, nSize, rect.height())
                                       : QRect(0, nPos, rect.width(), nSize);
        if (nLogical == m_nHotItem)
            Draw3dFrame2(dc, item, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                         COLOR_BTNSHADOW);
        else
            Draw3dFrame2(dc, item, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE,
                         COLOR_BTNFACE);
        nEnd = std::max(nEnd, nPos + nSize);
    }
    const QRect rest = bHorizontal ? QRect(nEnd, 0, rect.width() - nEnd, rect.height())
                                   : QRect(0, nEnd, rect.width(), rect.height() - nEnd);
    Draw3dFrame2(dc, rest, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}
