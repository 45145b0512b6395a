#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

class QWidget;

// Everything that would block an unattended test or leave the process: message boxes,
// file dialogs, shell open, program start, the companion library and the splash wait.
// The program uses CQtPlatformServices; tests use a recording fake.
class IPlatformServices
{
public:
    virtual ~IPlatformServices() = default;

    enum class MessageIcon
    {
        None,
        Warning,
    };

    // A message box with an OK button and the application title as caption.
    virtual void MessageBox(QWidget* pParent, const QString& text) = 0;
    // A message box with an OK button, the caption and the icon given.
    virtual void MessageBox(QWidget* pParent, const QString& text, const QString& caption,
                            MessageIcon icon) = 0;
    // The file-open dialog; an empty result means the user cancelled.
    virtual QString GetOpenFileName(QWidget* pParent, const QString& filter) = 0;
    // Several existing files at once (files to add to an archive); empty when cancelled.
    virtual QStringList GetOpenFileNames(QWidget* pParent, const QString& title) = 0;
    // A file to write, starting at initialPath; empty when cancelled.
    virtual QString GetSaveFileName(QWidget* pParent, const QString& title,
                                    const QString& initialPath, const QString& filter) = 0;

    enum class Answer
    {
        Yes, // "Save" where the question offers Save / Discard / Cancel
        No,  // "Discard"
        Cancel,
    };
    // A question with Yes / No (and Cancel with bCancel), or with bSaveDiscard the
    // buttons Save / Discard / Cancel.
    virtual Answer Ask(QWidget* pParent, const QString& text, bool bSaveDiscard, bool bCancel) = 0;
    // One line of text, started with initialText; nothing when cancelled.
    virtual std::optional<QString> AskText(QWidget* pParent, const QString& label,
                                           const QString& initialText) = 0;
    // The folder picker, starting at initialFolder; an empty result means the user
    // cancelled.
    virtual QString PickFolder(QWidget* pParent, const QString& title,
                               const QString& initialFolder) = 0;
    // Opens a file in the program the desktop associates with it; nothing is said when
    // there is none.
    virtual bool OpenDocument(const QString& path, const QString& workingDirectory) = 0;
    // Starts a program and returns at once. bMaximized asks for a maximised first window
    // where the platform can pass that on.
    virtual bool StartProgram(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory, bool bMaximized) = 0;
    virtual void CallCompanion(const std::string& entryName) = 0;
    // Keeps the splash window alone on screen.
    virtual void SplashWait(int nMilliseconds) = 0;
};
