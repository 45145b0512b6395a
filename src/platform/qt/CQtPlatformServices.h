#pragma once

#include "IPlatformServices.h"

// The real platform: Qt dialogs, the desktop's opener, detached processes.
class CQtPlatformServices : public IPlatformServices
{
public:
    void MessageBox(QWidget* pParent, const QString& text) override;
    void MessageBox(QWidget* pParent, const QString& text, const QString& caption,
                    MessageIcon icon) override;
    QString GetOpenFileName(QWidget* pParent, const QString& filter) override;
    QStringList GetOpenFileNames(QWidget* pParent, const QString& title) override;
    QString GetSaveFileName(QWidget* pParent, const QString& title, const QString& initialPath,
                            const QString& filter) override;
    Answer Ask(QWidget* pParent, const QString& text, bool bSaveDiscard, bool bCancel) override;
    std::optional<QString> AskText(QWidget* pParent, const QString& label,
                                   const QString& initialText) override;
    QString PickFolder(QWidget* pParent, const QString& title,
                       const QString& initialFolder) override;
    bool OpenDocument(const QString& path, const QString& workingDirectory) override;
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDirectory, bool bMaximized) override;
    void CallCompanion(const std::string& entryName) override;
    // ORBISTAV_SPLASH_MS overrides the wait (benchmarks measure start-up without it).
    void SplashWait(int nMilliseconds) override;

    // The folder picker's status line: a path of up to 35 characters whole, a longer
    // one cut to its first 35 followed by "...".
    static QString FolderStatusText(const QString& path);
};
