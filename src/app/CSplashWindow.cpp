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

CSplashWindow::CSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_splash(ResourceImage(IDB_SPLASH)), m_version(ResourceImage(IDB_SPLASH_VERSION))
{
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(kSize);
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        move(pScreen->geometry().center() - rect().center());
}

CSplashWindow::~CSplashWindow() = default;

void CSplashWindow::ShowNow()
{
    show();
    raise();
    // show() paints a top-level window at once on most platforms; a second paint would
    // only wait for the display to take the first.
    if (!m_bPainted)
        repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CSplashWindow::paintEvent(QPaintEvent*)
{
    m_bPainted = true;
    QPainter painter(this);
    painter.drawImage(0, 0, m_splash);
    painter.drawImage(kVersionAt, m_version);
}
