#include "CThinSplitterWnd.h"

#include <QSplitterHandle>

CThinSplitterWnd::CThinSplitterWnd(QWidget* pParent) : CStaticSplitter(Qt::Vertical, pParent)
{
    setHandleWidth(3);
}

QSplitterHandle* CThinSplitterWnd::createHandle()
{
    QSplitterHandle* pHandle = CStaticSplitter::createHandle();
    pHandle->setEnabled(false);
    pHandle->setCursor(Qt::ArrowCursor);
    return pHandle;
}
