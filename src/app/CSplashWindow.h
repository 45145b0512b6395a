#pragma once

#include <QWidget>

// The start-up picture, a pop-up without caption or border, with the version label.
class CSplashWindow : public QWidget
{
    Q_OBJECT
public:
    CSplashWindow();
    // Shows the window and paints it at once.
    void ShowNow();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};
