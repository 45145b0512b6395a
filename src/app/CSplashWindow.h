#pragma once

#include <QImage>
#include <QWidget>
#include <future>

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
    struct Pictures
    {
        QImage splash;
        QImage version;
    };
    const Pictures& LoadedPictures();

    // Read on a second thread while the window is being made; the first paint waits.
    std::future<Pictures> m_pending;
    Pictures m_pictures;
    bool m_bPainted = false;
};
