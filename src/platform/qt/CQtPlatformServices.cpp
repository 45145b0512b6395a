#include "CQtPlatformServices.h"

#include <cstdlib>

#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
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
    MessageBox(pParent, text, kTitle, MessageIcon::Warning);
}

void CQtPlatformServices::MessageBox(QWidget* pParent, const QString& text, const QString& caption,
                                     MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, pParent);
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

QStringList CQtPlatformServices::GetOpenFileNames(QWidget* pParent, const QString& title)
{
    QFileDialog dialog(pParent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString CQtPlatformServices::GetSaveFileName(QWidget* pParent, const QString& title,
                                             const QString& initialPath, const QString& filter)
{
    QFileDialog dialog(pParent, title, initialPath);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(ToQtFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

IPlatformServices::Answer CQtPlatformServices::Ask(QWidget* pParent, const QString& text,
                                                   bool bSaveDiscard, bool bCancel)
{
    QMessageBox::StandardButtons buttons =
        bSaveDiscard ? QMessageBox::Save | QMessageBox::Discard : QMessageBox::Yes | QMessageBox::No;
    if (bCancel || bSaveDiscard)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, kTitle, text, buttons, pParent);
    box.setDefaultButton(bSaveDiscard ? QMessageBox::Save : QMessageBox::Yes);
    switch (box.exec())
    {
    case QMessageBox::Save:
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Discard:
    case QMessageBox::No:
        return Answer::No;
    default:
        // Escape or the window's close button: the cautious answer.
        return bCancel || bSaveDiscard ? Answer::Cancel : Answer::No;
    }
}

std::optional<QString> CQtPlatformServices::AskText(QWidget* pParent, const QString& label,
                                                    const QString& initialText)
{
    bool bOk = false;
    const QString text =
        QInputDialog::getText(pParent, kTitle, label, QLineEdit::Normal, initialText, &bOk);
    if (!bOk)
        return std::nullopt;
    return text;
}

QString CQtPlatformServices::FolderStatusText(const QString& path)
{
    constexpr int kStatusChars = 35;
    return path.size() <= kStatusChars ? path : path.left(kStatusChars) + QStringLiteral("...");
}

QString CQtPlatformServices::PickFolder(QWidget* pParent, const QString& title,
                                        const QString& initialFolder)
{
    // Qt's own dialog rather than the desktop's: it starts where it is told and has
    // room for the status line that shows the selected folder.
    QFileDialog dialog(pParent, title, initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* pStatus = new QLabel(FolderStatusText(initialFolder), &dialog);
    pStatus->setObjectName(QStringLiteral("folderStatus"));
    if (auto* pGrid = qobject_cast<QGridLayout*>(dialog.layout()))
        pGrid->addWidget(pStatus, pGrid->rowCount(), 0, 1, pGrid->columnCount());
    else if (dialog.layout())
        dialog.layout()->addWidget(pStatus);
    QObject::connect(&dialog, &QFileDialog::currentChanged, pStatus,
                     [pStatus](const QString& path) { pStatus->setText(FolderStatusText(path)); });
    QObject::connect(&dialog, &QFileDialog::directoryEntered, pStatus,
                     [pStatus](const QString& path) { pStatus->setText(FolderStatusText(path)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool CQtPlatformServices::OpenDocument(const QString& path, const QString& workingDirectory)
{
    // xdg-open is what the desktop's own opener runs; started directly it also gets
    // the working directory.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        return QProcess::startDetached(opener, {path}, workingDirectory);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool CQtPlatformServices::StartProgram(const QString& program, const QStringList& arguments,
                                       const QString& workingDirectory, bool)
{
    // A Linux program chooses its own first window state: the show mode cannot be
    // passed on (Wine's "start /max" carries it for Windows programs).
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
