#include "CQtPlatformServices.h"

#include <cstdlib>

#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "Companion.h"

namespace
{
const QString kTitle = QStringLiteral("Vantorel ORBISTAV");

// "All supported files (*.vp;*.vpp)|*.vp;*.vpp|..." becomes Qt's "name (patterns);;..."
QString ToQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
    {
        QString name = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (%1)").arg(patterns);
        else
            name = name.left(name.indexOf(QLatin1Char('('))) + QStringLiteral("(%1)").arg(patterns);
        out << name;
    }
    return out.join(QStringLiteral(";;"));
}
} // namespace

void CQtPlatformServices::MessageBox(QWidget* pParent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Ok, pParent);
    box.exec();
}

QString CQtPlatformServices::GetOpenFileName(QWidget* pParent, const QString& filter)
{
    QFileDialog dialog(pParent, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(ToQtFilter(filter));
    dialog.setDefaultSuffix(QStringLiteral("vp"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString CQtPlatformServices::PickFolder(QWidget* pParent, const QString& title)
{
    return QFileDialog::getExistingDirectory(pParent, title);
}

bool CQtPlatformServices::OpenDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool CQtPlatformServices::StartProgram(const QString& program, const QStringList& arguments,
                                       const QString& workingDirectory)
{
    return QProcess::startDetached(program, arguments, workingDirectory);
}

void CQtPlatformServices::CallCompanion(const std::string& entryName)
{
    ::CallCompanion(entryName);
}

void CQtPlatformServices::SplashWait(int nMilliseconds)
{
    if (const char* env = std::getenv("ORBISTAV_SPLASH_MS"))
        nMilliseconds = std::atoi(env);
    if (nMilliseconds <= 0)
        return;
    // The splash keeps painting while it waits; nothing else can be clicked yet.
    QEventLoop loop;
    QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
