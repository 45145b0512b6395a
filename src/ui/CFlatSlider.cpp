#include "CFlatSlider.h"

#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "FrameDrawing.h"
#include "SystemLook.h"

void CFlatSlider::DrawFrame(QPainter& dc, const QRect&)
{
    auto* pSlider = qobject_cast<QSlider*>(m_pWnd.data());
    if (!pSlider)
        return;
    // What the groove's and the thumb's places depend on.
    QStyleOptionSlider option;
    option.initFrom(pSlider);
    option.orientation = pSlider->orientation();
    option.minimum = pSlider->minimum();
    option.maximum = pSlider->maximum();
    option.sliderPosition = pSlider->sliderPosition();
    option.sliderValue = pSlider->value();
    option.singleStep = pSlider->singleStep();
    option.pageStep = pSlider->pageStep();
    option.tickPosition = pSlider->tickPosition();
    option.tickInterval = pSlider->tickInterval();
    option.upsideDown = pSlider->orientation() == Qt::Horizontal
                            ? pSlider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                            : !pSlider->invertedAppearance();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    QStyle* pStyle = pSlider->style();
    const QRect groove =
        pStyle->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, pSlider);
    const QRect thumb =
        pStyle->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, pSlider);
    const bool bActive = IsActive();
    // The channel is a thin sunken groove through the middle of the thumb's track.
    QRect channel = groove;
    if (pSlider->orientation() == Qt::Horizontal)
        channel = QRect(groove.left(), thumb.center().y() - 2, groove.width(), 4);
    else
        channel = QRect(thumb.center().x() - 2, groove.top(), 4, groove.height());
    const int nInner = bActive ? COLOR_3DDKSHADOW : COLOR_BTNFACE;
    const int nInner2 = bActive ? COLOR_3DLIGHT : COLOR_BTNFACE;
    Draw3dFrame2(dc, channel, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, nInner, nInner2);

    dc.fillRect(thumb, GetSysColor(COLOR_BTNFACE));
    if (pSlider->tickPosition() == QSlider::TicksBothSides)
        Draw3dFrame2(dc, thumb, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
    else
        Draw3dFrame2(dc, thumb, COLOR_BTNHIGHLIGHT, bActive ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW,
                     bActive ? COLOR_3DLIGHT : COLOR_BTNFACE,
                     bActive ? COLOR_BTNSHADOW : COLOR_BTNFACE);
}
