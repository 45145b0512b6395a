#pragma once

#include <QString>
#include <QStringList>
#include <string>

class QWidget;

// Everything that would block an unattended test or leave the process: message boxes,
// file dialogs, shell open, program start, the companion library and the splash wait.
// The program uses CQtPlatformServices; tests use a recording fake.
class IPlatformServices
{
public:
    virtual ~IPlatformServices() = default;

    // A message box with an OK button and the application title as caption.
    virtual void MessageBox(QWidget* pParent, const QString& text) = 0;
    // The file-open dialog; an empty result means the user cancelled.
    virtual QString GetOpenFileName(QWidget* pParent, const QString& filter) = 0;
    // The folder picker; an empty result means the user cancelled.
    virtual QString PickFolder(QWidget* pParent, const QString& title) = 0;
    // Opens a file in the program the desktop associates with it.
    virtual bool OpenDocument(const QString& path) = 0;
    virtual bool StartProgram(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory) = 0;
    virtual void CallCompanion(const std::string& entryName) = 0;
    // Keeps the splash window alone on screen.
    virtual void SplashWait(int nMilliseconds) = 0;
};
