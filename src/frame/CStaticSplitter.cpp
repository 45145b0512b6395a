#include "CStaticSplitter.h"

#include <QResizeEvent>

CStaticSplitter::CStaticSplitter(Qt::Orientation orientation, QWidget* pParent)
    : QSplitter(orientation, pParent)
{
    setChildrenCollapsible(true);
    setOpaqueResize(true);
    connect(this, &QSplitter::splitterMoved, this, &CStaticSplitter::OnSplitterMoved);
}

CStaticSplitter::PaneInfo& CStaticSplitter::Info(int nPane)
{
    if (static_cast<int>(m_aPanes.size()) <= nPane)
        m_aPanes.resize(static_cast<std::size_t>(nPane) + 1);
    return m_aPanes[static_cast<std::size_t>(nPane)];
}

void CStaticSplitter::SetPaneInfo(int nPane, int nIdeal, int nMinimum)
{
    PaneInfo& info = Info(nPane);
    info.nIdeal = nIdeal;
    info.nMinimum = nMinimum;
}

int CStaticSplitter::IdealSize(int nPane) const
{
    return nPane < static_cast<int>(m_aPanes.size())
               ? m_aPanes[static_cast<std::size_t>(nPane)].nIdeal
               : 0;
}

void CStaticSplitter::RecalcLayout()
{
    const int nCount = count();
    if (nCount == 0)
        return;
    int nLeft =
        (orientation() == Qt::Horizontal ? width() : height()) - handleWidth() * (nCount - 1);
    QList<int> sizes;
    for (int i = 0; i < nCount; ++i)
    {
        const PaneInfo& info = Info(i);
        int nSize = i + 1 < nCount ? std::min(info.nIdeal, std::max(nLeft, 0)) : std::max(nLeft, 0);
        if (nSize < info.nMinimum && i > 0)
        {
            // Hidden: the space goes to the pane before it.
            sizes[i - 1] += nSize;
            nSize = 0;
        }
        sizes << nSize;
        nLeft -= nSize;
    }
    m_bLayingOut = true;
    setSizes(sizes);
    m_bLayingOut = false;
}

void CStaticSplitter::resizeEvent(QResizeEvent* pEvent)
{
    QSplitter::resizeEvent(pEvent);
    RecalcLayout();
}

void CStaticSplitter::OnSplitterMoved(int /*nPos*/, int nIndex)
{
    if (m_bLayingOut || nIndex <= 0)
        return;
    Info(nIndex - 1).nIdeal = sizes().value(nIndex - 1);
    RecalcLayout();
}
