#pragma once

#include <QStringList>
#include <functional>
#include <vector>

#include "IPlatformServices.h"

// Records what the program asks of the platform and answers from a script.
class CRecordingPlatform : public IPlatformServices
{
public:
    QStringList messages;
    QStringList companionCalls;
    std::vector<int> splashWaits;
    QStringList openFileAnswers; // taken in order; empty: the user cancels
    QString openFilter;
    // Runs inside CallCompanion, as the companion's own dialog would (a user changing the
    // game directories, for example).
    std::function<void(const std::string& entry)> companionDoes;

    void MessageBox(QWidget*, const QString& text) override { messages << text; }
    QString GetOpenFileName(QWidget*, const QString& filter) override
    {
        openFilter = filter;
        return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
    }
    QString PickFolder(QWidget*, const QString&) override { return {}; }
    bool OpenDocument(const QString&) override { return true; }
    bool StartProgram(const QString&, const QStringList&, const QString&) override { return true; }
    void CallCompanion(const std::string& entry) override
    {
        companionCalls << QString::fromStdString(entry);
        if (companionDoes)
            companionDoes(entry);
    }
    void SplashWait(int nMilliseconds) override { splashWaits.push_back(nMilliseconds); }
};
