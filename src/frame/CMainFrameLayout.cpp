// The frame's layout kept from one run to the next.
#include <QCloseEvent>

#include "CMainFrame.h"
#include "CORBISTAVView.h"
#include "CStaticSplitter.h"
#include "WindowLayout.h"

void CMainFrame::RestoreLayout(const QRect& available)
{
    const std::optional<WindowLayout> layout = WindowLayout::Load();
    if (!layout)
        return;
    m_pList->SetColumnWidths(ARCHIVE_KIND_VP, layout->aVpColumns);
    m_pList->SetColumnWidths(ARCHIVE_KIND_VPP, layout->aVppColumns);
    // A window left on a screen that is gone or smaller now starts as a first one does.
    if (!layout->Fits(available))
        return;
    ApplyPlacement({layout->geometry, layout->nLeftWidth, layout->nTreeHeight});
    if (layout->bMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

WindowLayout CMainFrame::CurrentLayout() const
{
    WindowLayout layout;
    layout.bMaximized = isMaximized();
    layout.geometry = layout.bMaximized ? normalGeometry() : geometry();
    if (layout.geometry.isEmpty())
        layout.geometry = geometry();
    layout.nLeftWidth = m_wndSplitMain->IdealSize(0);
    layout.nTreeHeight = m_wndSplitLeft->IdealSize(0);
    layout.aVpColumns = m_pList->ColumnWidths(ARCHIVE_KIND_VP);
    layout.aVppColumns = m_pList->ColumnWidths(ARCHIVE_KIND_VPP);
    return layout;
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    if (!SaveModified())
        return pEvent->ignore();
    CurrentLayout().Save();
    QMainWindow::closeEvent(pEvent);
}
