#include "CSplashWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "CommandIds.h"
#include "ResourceImages.h"

namespace
{
// 281 x 161 dialog units of the splash dialog's 8-point font, and the version label at
// (181, 25): the pictures' own sizes, so they are placed in pixels.
constexpr QSize kSize(421, 261);
constexpr QPoint kVersionAt(271, 40);
} // namespace

CSplashWindow::CSplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(kSize);
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        move(pScreen->geometry().center() - rect().center());
}

void CSplashWindow::ShowNow()
{
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CSplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, ResourceBitmap(IDB_SPLASH));
    painter.drawPixmap(kVersionAt, ResourceBitmap(IDB_SPLASH_VERSION));
}
