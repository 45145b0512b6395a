#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>

class QEvent;
class QPainter;

// The painter object of one control that carries the flat look: it tracks the control's
// hot, focused and read-only state and paints the frame after the control painted itself.
// This base draws the edge frame of list, tree and text views.
class CFlatControl
{
public:
    enum StateFlag : std::uint16_t
    {
        STATE_HOT = 1,
        STATE_LOW = 2, // frame less than 30 pixels high
        STATE_FOCUSED = 4,
        STATE_READONLY = 8,
    };

    explicit CFlatControl(QWidget* pWnd);
    virtual ~CFlatControl();
    CFlatControl(const CFlatControl&) = delete;
    CFlatControl& operator=(const CFlatControl&) = delete;

    // Sees every event of the control (and of its paint target); true when it was handled.
    virtual bool WindowProc(QObject* pObj, QEvent* pEvent);
    // Whether the cursor at this global position names another hot target than the current.
    virtual bool IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow);
    // The widget painted on and the frame rectangle in it.
    virtual void GetFrameDC(QWidget*& pTarget, QRect& rect) const;
    virtual void DrawFrame(QPainter& dc, const QRect& rect);
    virtual bool HasFocus() const;

    // Recomputes the state and repaints when the frame would change.
    void UpdateFrame();
    void SetHot(bool bHot);

    QWidget* Window() const { return m_pWnd; }
    std::uint16_t State() const { return m_nState; }
    std::uint16_t PaintedState() const { return m_nPaintedState; }
    int HotItem() const { return m_nHotItem; }
    bool IsActive() const { return (m_nState & (STATE_HOT | STATE_FOCUSED)) != 0; }
    bool IsEnabled() const { return m_pWnd && m_pWnd->isEnabled(); }

protected:
    // The flat or sunken two-ring frame every edit-like control shares.
    void DrawEdgeFrame(QPainter& dc, const QRect& rect);
    virtual bool IsReadOnly() const { return false; }
    void RefreshState(const QRect& rect);

    QPointer<QWidget> m_pWnd;
    std::uint16_t m_nState = 0;
    std::uint16_t m_nPaintedState = 0;
    int m_nHotItem = -1;
    bool m_bInPaint = false;
};
