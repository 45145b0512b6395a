#pragma once

#include <memory>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "CModelPresenter.h"

// The viewer window's model: drawn at the window's size, turned by dragging, zoomed with the
// wheel, back to the first view on a double-click.
class CModelCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit CModelCanvas(QWidget* pParent = nullptr);

    // Another scene starts from the first view; the same one keeps the view it has.
    void SetScene(std::shared_ptr<const ModelScene> pScene);
    void ClearScene();
    bool HasScene() const { return m_pScene != nullptr; }

    const PofView& View() const { return m_view; }
    // Turns the camera round the model by these degrees of yaw and pitch.
    void Turn(double dYaw, double dPitch);
    void ZoomBy(int nSteps);
    void ResetView();
    void SetWireframe(bool bWireframe);
    void SetTextures(bool bTextures);
    // The picture drawn last, at the canvas's size.
    QImage Image();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

private:
    void ViewChanged();

    std::shared_ptr<const ModelScene> m_pScene;
    PofView m_view;
    QImage m_image; // drawn for m_view at the canvas's size; null: draw again
    bool m_bDragging = false;
    QPoint m_lastDrag;
    int m_nWheelAngle = 0; // eighths of a degree not yet taken as a step
};
