#pragma once

#include "CFlatControl.h"

class QTabBar;

// Tabs and their pane: on a tab widget the pane border is redrawn, on its tab bar every
// tab is outlined, the one under the cursor three-dimensional, the selected one last and
// larger.
class CFlatTabCtrl : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    bool WindowProc(QObject* pObj, QEvent* pEvent) override;
    bool IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow) override;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override { return false; }

private:
    int ItemAt(const QPoint& ptScreen) const;
    void DrawPane(QPainter& dc);
    void DrawTabs(QPainter& dc, const QTabBar& bar);
};
