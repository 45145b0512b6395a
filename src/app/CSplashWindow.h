#pragma once

#include <QImage>
#include <QWidget>

// The start-up picture, a pop-up without caption or border, with the version label.
class CSplashWindow : public QWidget
{
    Q_OBJECT
public:
    CSplashWindow();
    ~CSplashWindow() override;
    // Shows the window and paints it at once.
    void ShowNow();

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    // Shown from where they are stored: there is nothing to read or decode.
    QImage m_splash;
    QImage m_version;
    bool m_bPainted = false;
};
