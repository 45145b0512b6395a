#pragma once

#include "IPlatformServices.h"

// The real platform: Qt dialogs, the desktop's opener, detached processes.
class CQtPlatformServices : public IPlatformServices
{
public:
    void MessageBox(QWidget* pParent, const QString& text) override;
    QString GetOpenFileName(QWidget* pParent, const QString& filter) override;
    QString PickFolder(QWidget* pParent, const QString& title) override;
    bool OpenDocument(const QString& path) override;
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDirectory) override;
    void CallCompanion(const std::string& entryName) override;
    // ORBISTAV_SPLASH_MS overrides the wait (benchmarks measure start-up without it).
    void SplashWait(int nMilliseconds) override;
};
