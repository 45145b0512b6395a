#pragma once

#include "CFlatControl.h"

class QToolButton;

// A tool bar whose buttons are not flat: every button gets a raised frame, the one under
// the cursor a three-dimensional one, checked ones a sunken one.
class CFlatToolBar : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    bool WindowProc(QObject* pObj, QEvent* pEvent) override;
    bool IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow) override;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override { return false; }

    // Tool bars whose buttons all raise only under the cursor draw their own flat look.
    static bool IsFlat(const QWidget* pToolBar);

private:
    QList<QToolButton*> Buttons() const;
    int ItemAt(const QPoint& ptScreen) const;
};
