#pragma once

#include <QString>
#include <future>
#include <memory>
#include <optional>

#include "CRecentFileList.h"
#include "IMessageSink.h"
#include "Settings.h"

class CGameFolder;
class CMainFrame;
class COwnerDrawMenu;
class CORBISTAVDoc;
class CSplashWindow;
class IPlatformServices;

// The application object: the seven settings as its members, the one document, the
// main frame, the recent-file list and the start-up sequence.
class CORBISTAVApp : public AppSettings, public IMessageSink
{
public:
    explicit CORBISTAVApp(IPlatformServices& platform);
    // With a document made beforehand (main makes it beside Qt's own start-up).
    CORBISTAVApp(IPlatformServices& platform, std::unique_ptr<CORBISTAVDoc> pDoc);
    ~CORBISTAVApp() override;
    CORBISTAVApp(const CORBISTAVApp&) = delete;
    CORBISTAVApp& operator=(const CORBISTAVApp&) = delete;

    // The start-up sequence up to the shown main window. False when the archive named
    // on the command line could not be opened (the program then ends). A folder opens as a
    // game folder, with modList as the engine's -mod takes it when given.
    bool InitInstance(const std::optional<QString>& archivePath,
                      const std::optional<QString>& modList = std::nullopt);

    // The document-open sequence: opens the file through the document, sets the title
    // and the recent-file list. False when the file could not be opened. A folder is a game
    // folder, which the frame shows.
    bool OpenDocumentFile(const QString& path,
                          const std::optional<QString>& modList = std::nullopt);

    void ShowMessage(const std::string& text) override;
    // A game folder main reads while Qt starts and the window is made: the first open of a
    // folder waits for it and takes it when it is that folder with those mods.
    void SetPreparedGameFolder(std::future<std::unique_ptr<CGameFolder>> pending);

    CORBISTAVDoc& Document() const { return *m_pDoc; }
    CMainFrame* MainFrame() const { return m_pFrame.get(); }
    const CRecentFileList& RecentFiles() const { return m_recentFiles; }
    COwnerDrawMenu* Menu() const { return m_pMenu.get(); }

private:
    void UpdateTitle(const QString& fileName);
    void PublishRecentFiles();

    IPlatformServices& m_platform;
    std::unique_ptr<CORBISTAVDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    // The frame's menu bar with owner-drawn popups; goes before the frame.
    std::unique_ptr<COwnerDrawMenu> m_pMenu;
    std::unique_ptr<CSplashWindow> m_pSplash;
    CRecentFileList m_recentFiles;
    std::future<std::unique_ptr<CGameFolder>> m_preparedGame;
};
