// CMainFrame: a game folder and its mods shown as the game sees them, in place of an archive.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTreeWidgetItem>

#include "CAutoPreview.h"
#include "CCommandTable.h"
#include "CDestinationDir.h"
#include "FileIo.h"
#include "CExtractProgressDlg.h"
#include "CGameFileReader.h"
#include "CGameFolderListModel.h"
#include "CGameFolderTextures.h"
#include "CLeftView.h"
#include "CMainFrame.h"
#include "CModsDialog.h"
#include "CORBISTAVView.h"
#include "GameDirectories.h"
#include "GameModCandidates.h"
#include "IPlatformServices.h"
#include "PathOperations.h"
#include "Settings.h"

namespace
{
// Smaller selections are written without a progress window, as an archive's are.
constexpr std::int64_t kGameProgressThreshold = 500000;

QString ModsText(const std::vector<std::string>& mods)
{
    QStringList names;
    for (const std::string& mod : mods)
        names << QString::fromStdString(mod);
    return names.join(QStringLiteral(", "));
}

std::string_view AsText(std::span<const unsigned char> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A name written flat into a folder of the user's: one component, never a way out of it.
bool IsWritableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}
} // namespace

void CMainFrame::CreateGameCommands()
{
    CCommandTable& t = *m_pCommands;
    auto game = [this] { return m_pGame != nullptr; };
    t.Add(
        ID_FILE_OPEN_GAME_FOLDER, tr("Open &Game Folder..."),
        tr("Open a game folder and its mods as the game sees them\nOpen Game Folder"),
        [] { return true; },
        [this]
        {
            const QString folder = m_platform.PickFolder(this, tr("Select the game folder or a mod folder"),
                                                         m_pGame ? QString::fromStdString(m_pGame->GameDir())
                                                                 : QDir::homePath());
            if (!folder.isEmpty())
                OpenArchive(folder);
        },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    t.Add(
        ID_GAME_RELOAD, tr("&Read Game Folder Again"),
        tr("Read the game folder again, with the changes made since\nRead Game Folder Again"), game,
        [this] { ReloadGameFolder(); }, QKeySequence(Qt::Key_F5));
    t.Add(ID_VIEW_MODS, tr("&Mods..."), tr("Choose and order the mods the folder is seen with\nMods"),
          game, [this] { OnGameMods(); });
    QAction* pHidden = t.Add(
        ID_VIEW_HIDDEN_COPIES, tr("Show &Hidden Copies"),
        tr("List the copies each file hides, greyed, below it\nShow Hidden Copies"), game,
        [this]
        {
            m_bShowHiddenCopies = !m_bShowHiddenCopies;
            m_pCommands->Action(ID_VIEW_HIDDEN_COPIES)->setChecked(m_bShowHiddenCopies);
            m_pList->SetShowHiddenCopies(m_bShowHiddenCopies);
        });
    pHidden->setCheckable(true);
}

void CMainFrame::SetModsChooser(ModsChooser chooser)
{
    m_fnChooseMods = std::move(chooser);
}

bool CMainFrame::ChooseMods(GameFolderSetup& setup)
{
    const QString gameDir = QString::fromStdString(setup.strGameDir);
    const std::vector<std::string> candidates = FindModCandidates(setup.strGameDir);
    std::optional<std::vector<std::string>> chosen;
    if (m_fnChooseMods)
        chosen = m_fnChooseMods(gameDir, candidates, setup.aMods);
    else
    {
        CModsDialog dialog(gameDir, candidates, setup.aMods, this);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.Chosen();
    }
    if (!chosen)
        return false;
    if (*chosen != setup.aMods)
        setup.source = ModListSource::CommandLine;
    setup.aMods = std::move(*chosen);
    return true;
}

bool CMainFrame::OpenGameFolder(const QString& folder, const std::optional<QString>& modList,
                                std::unique_ptr<CGameFolder> pPrepared)
{
    // A game folder is never edited: edits to the archive shown are saved or dropped first.
    if (!SaveModified())
        return false;
    GameFolderSetup setup;
    Result r = ResolveGameFolder(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).toStdString(),
                                 modList ? std::optional<std::string>(modList->toStdString())
                                         : std::nullopt,
                                 setup);
    // A list given is taken as the engine takes it; otherwise the user sees the launcher's.
    if (r && !modList && !ChooseMods(setup))
        return false;
    auto sameDir = [](const std::string& a, const std::string& b)
    { return QDir::cleanPath(QString::fromStdString(a)) == QDir::cleanPath(QString::fromStdString(b)); };
    if (r && pPrepared && sameDir(pPrepared->Setup().strGameDir, setup.strGameDir) &&
        pPrepared->Setup().aMods == setup.aMods)
    {
        ShowGameFolder(std::move(pPrepared));
        return true;
    }
    auto pFolder = std::make_unique<CGameFolder>();
    if (r)
        r = pFolder->Open(setup);
    if (!r)
    {
        m_platform.MessageBox(this, tr("Failed to open the game folder.\n\n%1")
                                        .arg(QString::fromStdString(r.Text())));
        return false;
    }
    ShowGameFolder(std::move(pFolder));
    return true;
}

void CMainFrame::ShowGameFolder(std::unique_ptr<CGameFolder> pFolder)
{
    m_pPreview->StopPreview(true);
    // The tree's place is kept by its text, which names the type folder, or the sub folder
    // and its parents.
    QStringList place;
    if (m_pGame)
        for (const QTreeWidgetItem* pItem = m_pTree->currentItem(); pItem; pItem = pItem->parent())
            place.prepend(pItem->text(0).section(QLatin1Char(' '), 0, -2));
    // The views let go of the old folder before it goes.
    m_pList->ShowGameFolder(pFolder.get());
    std::swap(m_pGame, pFolder);
    m_strGameSummary = CountGameSummary();
    if (!m_pGameTextures)
        m_pGameTextures = std::make_unique<CGameFolderTextures>();
    m_pGameTextures->SetFolder(m_pGame.get());
    m_pPreview->SetTextureResolver(m_pGameTextures.get());
    m_pTree->ShowGameFolder(*m_pGame);
    pFolder.reset();
    QTreeWidgetItem* pPlace = nullptr;
    for (int i = 0; i < place.size(); ++i)
    {
        const int nCount = pPlace ? pPlace->childCount() : m_pTree->topLevelItemCount();
        QTreeWidgetItem* pNext = nullptr;
        for (int c = 0; c < nCount && !pNext; ++c)
        {
            QTreeWidgetItem* pChild = pPlace ? pPlace->child(c) : m_pTree->topLevelItem(c);
            if (pChild->text(0).section(QLatin1Char(' '), 0, -2) == place[i])
                pNext = pChild;
        }
        if (!pNext)
            break;
        pPlace = pNext;
    }
    if (pPlace)
        m_pTree->setCurrentItem(pPlace);

    QString title = QStringLiteral("Vantorel ORBISTAV - %1")
                        .arg(QDir::toNativeSeparators(
                            QDir::cleanPath(QString::fromStdString(m_pGame->GameDir()))));
    if (!m_pGame->Setup().aMods.empty())
        title += tr(" with %1").arg(ModsText(m_pGame->Setup().aMods));
    setWindowTitle(title);
    // The status bar's second pane says what the folder is made of; a missing mod folder
    // is no reason for a message box, but is said.
    if (!m_pGame->Warnings().empty() && m_pGame->IsComplete())
        SetMessageText(QString::fromStdString(m_pGame->Warnings().front()));
    OnListFilled();
    if (!m_pGame->IsComplete())
    {
        QStringList warnings;
        for (const std::string& warning : m_pGame->Warnings())
            warnings << QString::fromStdString(warning);
        m_platform.MessageBox(this, tr("The game folder could be read only in part:\n\n%1\n\nThe "
                                       "files that could be read are shown.")
                                        .arg(warnings.join(QLatin1Char('\n'))));
    }
}

void CMainFrame::CloseGameFolder()
{
    if (!m_pGame)
        return;
    m_pList->ShowGameFolder(nullptr);
    m_pPreview->SetTextureResolver(nullptr);
    m_pGameTextures->SetFolder(nullptr);
    m_pGame.reset();
}

void CMainFrame::ReloadGameFolder()
{
    if (!m_pGame)
        return;
    auto pFolder = std::make_unique<CGameFolder>();
    if (Result r = pFolder->Open(m_pGame->Setup()); !r)
    {
        m_platform.MessageBox(this, tr("Failed to read the game folder again.\n\n%1")
                                        .arg(QString::fromStdString(r.Text())));
        return;
    }
    ShowGameFolder(std::move(pFolder));
}

void CMainFrame::OnGameMods()
{
    if (!m_pGame)
        return;
    GameFolderSetup setup = m_pGame->Setup();
    if (!ChooseMods(setup) || setup.aMods == m_pGame->Setup().aMods)
        return;
    auto pFolder = std::make_unique<CGameFolder>();
    if (Result r = pFolder->Open(setup); !r)
    {
        m_platform.MessageBox(this, tr("Failed to open the game folder.\n\n%1")
                                        .arg(QString::fromStdString(r.Text())));
        return;
    }
    ShowGameFolder(std::move(pFolder));
}

QString CMainFrame::CountGameSummary() const
{
    if (!m_pGame)
        return {};
    std::vector<char> used(m_pGame->Sources().size(), 0);
    std::size_t nLoaded = 0;
    std::size_t nHidden = 0;
    for (std::size_t i = 0; i < m_pGame->Files().size(); ++i)
    {
        const GameFile& file = m_pGame->Files()[i];
        if (file.nLoadedFile >= 0)
        {
            ++nHidden;
            continue;
        }
        ++nLoaded;
        used[static_cast<std::size_t>(file.nSource)] = 1;
    }
    int nArchives = 0;
    int nFolders = 0;
    for (std::size_t s = 0; s < used.size(); ++s)
        if (used[s])
            ++(m_pGame->Sources()[s].bArchive ? nArchives : nFolders);
    const auto counted = [](std::size_t n, const char* szOne, const char* szMany)
    { return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? szOne : szMany); };
    return tr("%1 from %2 and %3, %4 hidden")
        .arg(counted(nLoaded, "file", "files"))
        .arg(counted(static_cast<std::size_t>(nArchives), "archive", "archives"))
        .arg(counted(static_cast<std::size_t>(nFolders), "loose folder", "loose folders"))
        .arg(counted(nHidden, "copy", "copies"));
}

std::vector<int> CMainFrame::SelectedGameFiles() const
{
    std::vector<int> files;
    if (!m_pGame || !m_pList->GameRows())
        return files;
    for (const int nRow : m_pList->SelectedRows())
        if (const int nFile = m_pList->GameRows()->FileOfRow(nRow); nFile >= 0)
            files.push_back(nFile);
    return files;
}

void CMainFrame::PreviewGameFile(int nFile, bool bForce)
{
    if (m_pGame && nFile >= 0 && nFile < static_cast<int>(m_pGame->Files().size()))
        m_pPreview->PreviewEntry(CGameFolderTextures::SourceOf(*m_pGame, nFile), bForce);
}

int CMainFrame::ExtractGameSelection(const std::string& destination,
                                     std::vector<std::string>* pWritten)
{
    const std::vector<int> files = SelectedGameFiles();
    std::int64_t nTotal = 0;
    for (const int nFile : files)
        nTotal += m_pGame->Files()[nFile].nSize;
    std::unique_ptr<CExtractProgressDlg> pProgress;
    if (nTotal > kGameProgressThreshold)
    {
        pProgress = std::make_unique<CExtractProgressDlg>(this);
        pProgress->Start(static_cast<int>(files.size()), nTotal);
    }

    CDestinationDir dir;
    Result result = CDestinationDir::Open(destination, dir);
    CGameFileReader reader(*m_pGame);
    std::int64_t nPosition = 0;
    for (std::size_t i = 0; i < files.size() && result; ++i)
    {
        const GameFile& file = m_pGame->Files()[files[i]];
        const std::string name(file.Name());
        if (pProgress)
            pProgress->SetFile(QString::fromStdString(name), nPosition);
        // Content as the game reads it: a compressed entry or loose .lz41 decompressed.
        if (!IsWritableName(name))
            result = Result::Fail(name + ": not a name that can be written");
        if (result)
            result = reader.Open(files[i]);
        if (result)
            result = dir.WriteFileAtomically(name,
                                              [&](int fd)
                                              {
                                                  return reader.Stream(
                                                      [&](std::span<const unsigned char> piece)
                                                      {
                                                          return WriteAll(fd, AsText(piece))
                                                                     ? Result::Ok()
                                                                     : Result::Fail(
                                                                           dir.PathOf(name) +
                                                                           ": " + std::strerror(errno));
                                                      });
                                              });
        if (!result)
        {
            pProgress.reset();
            m_platform.MessageBox(this, tr("Extraction stopped at %1.\n\n%2")
                                            .arg(QString::fromStdString(m_pGame->Location(files[i])),
                                                 QString::fromStdString(result.Text())));
            return -1;
        }
        if (pWritten)
            pWritten->push_back(dir.PathOf(name));
        nPosition += file.nSize;
    }
    if (!result)
    {
        m_platform.MessageBox(this, QString::fromStdString(result.Text()));
        return -1;
    }
    pProgress.reset();
    SetMessageText(
        tr("%1 files extracted to %2").arg(files.size()).arg(QString::fromStdString(destination)));
    return static_cast<int>(files.size());
}

void CMainFrame::OpenGameSelection()
{
    const std::vector<int> files = SelectedGameFiles();
    if (files.empty())
        return;
    if (m_settings.m_bAutoStopPreview)
        m_pPreview->StopPreview(true);
    const std::string temp = GetTempDirectory();
    std::vector<std::string> written;
    if (ExtractGameSelection(temp, &written) <= 0 || written.empty())
        return;
    m_platform.OpenDocument(QString::fromStdString(written.front()), QString::fromStdString(temp));
}

void CMainFrame::CopyGameSelection(bool bLocations)
{
    QStringList lines;
    for (const int nFile : SelectedGameFiles())
        lines << QString::fromStdString(bLocations ? m_pGame->Location(nFile)
                                                   : std::string(m_pGame->Files()[nFile].Name()));
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}
