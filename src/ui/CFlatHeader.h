#pragma once

#include "CFlatControl.h"

// A header with clickable sections: every section is a raised button, the one under the
// cursor three-dimensional. It paints on the header's viewport, where the sections are.
class CFlatHeader : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    bool WindowProc(QObject* pObj, QEvent* pEvent) override;
    bool IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow) override;
    void GetFrameDC(QWidget*& pTarget, QRect& rect) const override;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override { return false; }

private:
    int ItemAt(const QPoint& ptScreen) const;
};
