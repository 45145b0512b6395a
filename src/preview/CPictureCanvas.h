#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>

// The viewer window's picture: fitted to the window or zoomed (wheel around the pointer,
// + and -), dragged with the mouse, alpha over a checkerboard unless it is ignored.
class CPictureCanvas : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CPictureCanvas(QWidget* pParent = nullptr);

    // A picture of another size is shown as the zoom mode says; the same size (the next
    // animation frame) keeps the view where it is.
    void SetImage(const QImage& image);
    void ClearImage();
    const QImage& Image() const { return m_image; }

    void SetFit(bool bFit);
    bool IsFit() const { return m_bFit; }
    // The scale the picture is drawn at, 1.0 for 1:1.
    double Zoom() const;
    void SetZoom(double dZoom);
    // One step in or out, keeping the picture's point under anchor (viewport coordinates)
    // where it is.
    void ZoomBy(int nSteps, QPoint anchor);
    void ZoomBy(int nSteps);
    void SetIgnoreAlpha(bool bIgnore);
    bool IgnoresAlpha() const { return m_bIgnoreAlpha; }

signals:
    void ZoomChanged(double dZoom);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    double FitZoom() const;
    void UpdateScrollBars();
    // Where the picture's top-left corner lies in the viewport.
    QPoint Origin() const;

    QImage m_image;
    bool m_bFit = true;
    double m_dZoom = 1.0;
    bool m_bIgnoreAlpha = false;
    bool m_bDragging = false;
    QPoint m_dragStart;
    QPoint m_scrollAtDragStart;
};
