#include "CORBISTAVApp.h"

#include <QDir>
#include <QFileInfo>

#include "CFlatLookManager.h"
#include "CGameFolder.h"
#include "CMainFrame.h"
#include "CORBISTAVDoc.h"
#include "COwnerDrawMenu.h"
#include "CSplashWindow.h"
#include "CommandIds.h"
#include "GameDirectories.h"
#include "IPlatformServices.h"
#include "LegacyConfiguration.h"
#include "ModuleRegistry.h"
#include "TextEncoding.h"

namespace
{
const QString kAppTitle = QStringLiteral("Vantorel ORBISTAV");
constexpr int kSplashMilliseconds = 2000;
} // namespace

CORBISTAVApp::CORBISTAVApp(IPlatformServices& platform)
    : CORBISTAVApp(platform, std::make_unique<CORBISTAVDoc>())
{
}

CORBISTAVApp::CORBISTAVApp(IPlatformServices& platform, std::unique_ptr<CORBISTAVDoc> pDoc)
    : m_platform(platform), m_pDoc(std::move(pDoc))
{
    m_pDoc->SetMessageSink(this);
    m_pDoc->SetGamePathLookup([](int nGame, int nEdition) { return GetGamePath(nGame, nEdition); });
}

CORBISTAVApp::~CORBISTAVApp()
{
    m_pDoc->SetObserver(nullptr);
}

bool CORBISTAVApp::InitInstance(const std::optional<QString>& archivePath,
                                const std::optional<QString>& modList)
{
    // Before any window exists, so that every dialog gets the flat look.
    CFlatLookManager::Instance().InstallHook(-1, CFlatLookManager::MODE_DIALOGS);
    m_recentFiles.Load();

    m_pSplash = std::make_unique<CSplashWindow>();
    m_pSplash->ShowNow();

    RegisterModule();
    MigrateLegacyConfiguration();
    LoadSettings(*this);

    m_pFrame = std::make_unique<CMainFrame>(*m_pDoc, *this, m_platform);
    m_pFrame->SetOpenDocumentHandler([this](const QString& path)
                                     { return OpenDocumentFile(path); });
    PublishRecentFiles();
    UpdateTitle(QStringLiteral("Untitled"));

    if (archivePath && !OpenDocumentFile(*archivePath, modList))
    {
        m_pSplash.reset();
        return false;
    }

    m_pSplash->repaint();
    m_platform.SplashWait(kSplashMilliseconds);

    m_pMenu = std::make_unique<COwnerDrawMenu>();
    m_pMenu->LoadMenu(m_pFrame->menuBar());
    m_pMenu->LoadToolbar(IDR_MENU_IMAGES);
    // The file list's context menu shows the Action menu's pictures beside the same commands.
    if (COwnerDrawMenu* pListMenu = m_pMenu->FindPopup(m_pFrame->ListMenu()))
        pListMenu->LoadToolbar(IDR_MENU_IMAGES);

    m_pFrame->show();
    m_pFrame->raise();
    m_pFrame->activateWindow();
    m_pSplash.reset();
    return true;
}

bool CORBISTAVApp::OpenDocumentFile(const QString& path, const std::optional<QString>& modList)
{
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    if (QFileInfo(fullPath).isDir())
    {
        // The frame names the folder and its mods in the title itself.
        if (!m_pFrame->OpenGameFolder(fullPath, modList,
                                      m_preparedGame.valid() ? m_preparedGame.get() : nullptr))
            return false;
        m_recentFiles.Add(fullPath.toStdString());
        m_recentFiles.Save();
        PublishRecentFiles();
        return true;
    }
    Result error;
    const CORBISTAVDoc::OpenResult result = m_pDoc->OnOpenDocument(fullPath.toStdString(), &error);
    if (result == CORBISTAVDoc::OpenResult::OpenFailed)
    {
        m_platform.MessageBox(m_pFrame.get(), QStringLiteral("Failed to open document.\n\n%1")
                                                  .arg(QString::fromStdString(error.Text())));
        // A recent file that no longer opens leaves the list.
        m_recentFiles.Remove(fullPath.toStdString());
        m_recentFiles.Save();
        PublishRecentFiles();
        return false;
    }
    if (result == CORBISTAVDoc::OpenResult::Read && !m_pDoc->IsReadComplete())
        m_platform.MessageBox(
            m_pFrame.get(),
            QStringLiteral("%1 could be read only in part:\n\n%2\n\nThe files that could be "
                           "read are shown.")
                .arg(QFileInfo(fullPath).fileName(),
                     QString::fromStdString(Cp1252ToUtf8(m_pDoc->GetReadWarning()))));

    UpdateTitle(QFileInfo(fullPath).fileName());
    m_recentFiles.Add(fullPath.toStdString());
    m_recentFiles.Save();
    PublishRecentFiles();
    return true;
}

void CORBISTAVApp::SetPreparedGameFolder(std::future<std::unique_ptr<CGameFolder>> pending)
{
    m_preparedGame = std::move(pending);
}

void CORBISTAVApp::ShowMessage(const std::string& text)
{
    m_platform.MessageBox(m_pFrame.get(), QString::fromStdString(text));
}

void CORBISTAVApp::UpdateTitle(const QString& fileName)
{
    if (m_pFrame)
        m_pFrame->setWindowTitle(kAppTitle + QStringLiteral(" - ") + fileName);
}

void CORBISTAVApp::PublishRecentFiles()
{
    if (!m_pFrame)
        return;
    QStringList paths;
    for (const std::string& path : m_recentFiles.Paths())
        paths << QString::fromStdString(path);
    m_pFrame->SetRecentFiles(paths);
}
