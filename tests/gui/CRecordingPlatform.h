#pragma once

#include <QStringList>
#include <functional>
#include <vector>

#include "IPlatformServices.h"

// Records what the program asks of the platform and answers from a script.
class CRecordingPlatform : public IPlatformServices
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingDirectory;
        bool bMaximized = false;
    };

    QStringList messages;
    QStringList captions; // one per message
    std::vector<MessageIcon> icons;
    QStringList companionCalls;
    std::vector<int> splashWaits;
    QStringList openFileAnswers; // taken in order; empty: the user cancels
    QString openFilter;
    // Runs inside CallCompanion, as the companion's own dialog would (a user changing the
    // game directories, for example).
    std::function<void(const std::string& entry)> companionDoes;
    // Runs inside SplashWait, while the splash window stands alone on screen.
    std::function<void()> splashWaitDoes;
    QStringList folderAnswers;   // taken in order; empty: the user cancels
    QStringList folderRequests;  // "title|initial folder"
    QStringList openedDocuments; // "path|working directory"
    std::vector<Start> starts;
    std::vector<QStringList> openFilesAnswers; // taken in order; none left: the user cancels
    QStringList saveFileAnswers;                // taken in order; empty: the user cancels
    QStringList saveFileRequests;               // "title|initial path"
    std::vector<Answer> answers;                // taken in order; none left: Cancel
    QStringList questions;
    QStringList textAnswers; // taken in order; none left: the user cancels
    QStringList textRequests; // "label|initial text"

    void MessageBox(QWidget* pParent, const QString& text) override
    {
        MessageBox(pParent, text, QStringLiteral("Vantorel ORBISTAV"), MessageIcon::Warning);
    }
    void MessageBox(QWidget*, const QString& text, const QString& caption,
                    MessageIcon icon) override
    {
        messages << text;
        captions << caption;
        icons.push_back(icon);
    }
    QString GetOpenFileName(QWidget*, const QString& filter) override
    {
        openFilter = filter;
        return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
    }
    QStringList GetOpenFileNames(QWidget*, const QString&) override
    {
        if (openFilesAnswers.empty())
            return {};
        QStringList files = openFilesAnswers.front();
        openFilesAnswers.erase(openFilesAnswers.begin());
        return files;
    }
    QString GetSaveFileName(QWidget*, const QString& title, const QString& initialPath,
                            const QString&) override
    {
        saveFileRequests << title + QLatin1Char('|') + initialPath;
        return saveFileAnswers.isEmpty() ? QString() : saveFileAnswers.takeFirst();
    }
    Answer Ask(QWidget*, const QString& text, bool, bool) override
    {
        questions << text;
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::optional<QString> AskText(QWidget*, const QString& label,
                                   const QString& initialText) override
    {
        textRequests << label + QLatin1Char('|') + initialText;
        if (textAnswers.isEmpty())
            return std::nullopt;
        return textAnswers.takeFirst();
    }
    QString PickFolder(QWidget*, const QString& title, const QString& initialFolder) override
    {
        folderRequests << title + QLatin1Char('|') + initialFolder;
        return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    }
    bool OpenDocument(const QString& path, const QString& workingDirectory) override
    {
        openedDocuments << path + QLatin1Char('|') + workingDirectory;
        return true;
    }
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDirectory, bool bMaximized) override
    {
        starts.push_back({program, arguments, workingDirectory, bMaximized});
        return true;
    }
    void CallCompanion(const std::string& entry) override
    {
        companionCalls << QString::fromStdString(entry);
        if (companionDoes)
            companionDoes(entry);
    }
    void SplashWait(int nMilliseconds) override
    {
        splashWaits.push_back(nMilliseconds);
        if (splashWaitDoes)
            splashWaitDoes();
    }
};
