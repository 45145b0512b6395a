#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CGameFolder.h"
#include "CommandIds.h"
#include "FramePlacement.h"
#include "IDocumentObserver.h"
#include "IFileListHost.h"
#include "Result.h"
#include "WindowLayout.h"

class CArchiveEditList;
class CAutoPreview;
class CAutoPreviewToolbar;
class CCommandTable;
class CDestinationDir;
struct EditListRow;
class CEntryExtractor;
class CGameFolderTextures;
class CLeftView;
class CORBISTAVDoc;
class CORBISTAVView;
class CStaticSplitter;
class CThinSplitterWnd;
class IPlatformServices;
class QLabel;
class QLineEdit;
class QMenu;
class QTemporaryDir;
class QToolBar;
struct AppSettings;

// The program's only top-level window: tree, file list and preview area in three
// splitters, menu bar, toolbar with labels, status bar, and the command table.
class CMainFrame : public QMainWindow, public IFileListHost, public IDocumentObserver
{
    Q_OBJECT
public:
    CMainFrame(CORBISTAVDoc& doc, AppSettings& settings, IPlatformServices& platform,
               QWidget* pParent = nullptr);
    ~CMainFrame() override;

    // The application's open-document sequence and its recent-file list.
    void SetOpenDocumentHandler(std::function<bool(const QString& path)> handler);
    void SetRecentFiles(const QStringList& paths);

    void RefreshViews();

    // A game folder and its mods as the game sees them, in place of the archive until one
    // is read (CMainFrameGame.cpp). Without a mod list the Mods dialog asks, preselected from
    // the launcher files; false when cancelled or unreadable (the user has been told).
    // pPrepared, read beforehand, is taken when it is that folder with those mods.
    bool OpenGameFolder(const QString& folder, const std::optional<QString>& modList,
                        std::unique_ptr<CGameFolder> pPrepared = nullptr);
    const CGameFolder* GameFolder() const { return m_pGame.get(); }
    // Answers in place of the Mods dialog: the mods chosen, top first, or nothing to cancel.
    using ModsChooser = std::function<std::optional<std::vector<std::string>>(
        const QString& gameDir, const std::vector<std::string>& candidates,
        const std::vector<std::string>& chosen)>;
    void SetModsChooser(ModsChooser chooser);
    void SetPreviewToolbarCaption(const QString& text);
    // Writes the selected file rows, in row order, into destination (a directory that
    // exists): side by side, or with bKeepDirectories below it in the archive's
    // directories, which must exist there. Reports the count in the status bar and
    // returns it; -1 when a file failed (the user has been told). pWritten receives the
    // paths of the files written.
    int ExtractSelection(const std::string& destination, bool bKeepDirectories,
                         std::vector<std::string>* pWritten = nullptr);
    std::vector<std::string> ExtractSelectionForDrag() override;
    int CountSelectedRows() const override;
    void PreviewEntry(int nFile, bool bForce) override;
    void OnOpenSelected() override;
    void OnBeforeRead() override;
    void OnAfterRead() override;

    // Status pane 0: the idle text, prompts and results.
    void SetMessageText(const QString& text);
    QString MessageText() const;

    // The edits made to the archive shown since it was read; null while none was made.
    const CArchiveEditList* PendingEdits() const { return m_pEdit.get(); }
    // Asks Save / Discard / Cancel when edits are not saved; false to stay as it is.
    bool SaveModified();

    CCommandTable& Commands() const { return *m_pCommands; }
    CLeftView* GetTreeView() const { return m_pTree; }
    CORBISTAVView* GetListView() const { return m_pList; }
    CAutoPreview* GetPreview() const { return m_pPreview; }
    CAutoPreviewToolbar* GetPreviewToolbar() const { return m_pPreviewToolbar; }
    CStaticSplitter* MainSplitter() const { return m_wndSplitMain; }
    CStaticSplitter* LeftSplitter() const { return m_wndSplitLeft; }
    CThinSplitterWnd* PreviewSplitter() const { return m_wndSplitPreview; }
    QToolBar* MainToolBar() const { return m_wndToolBar; }
    QMenu* ListMenu() const { return m_pListMenu; }
    QLineEdit* FilterField() const { return m_pFilterEdit; }

    // Where a first start puts the window on that area of the screen, scaled as the list's
    // columns are; and the window and its two splitter panes put there.
    FramePlacement FirstPlacement(const QRect& available) const;
    void ApplyPlacement(const FramePlacement& placement);
    // The layout the program last ended with, where it fits that area of the screen; the
    // column widths whatever the screen.
    void RestoreLayout(const QRect& available);
    WindowLayout CurrentLayout() const;

    std::int32_t m_bTutorialAvailable = 0;
    std::string m_strPreviousVersionExe;
    std::string m_strHullglassExe;
    std::string m_strReelsmithExe;
    std::string m_strCapstaneExe;
    std::string m_strFernholtExe;
    std::string m_strLoomwrightExe;

protected:
    bool event(QEvent* pEvent) override;
    // Files dropped onto the list or the tree go into the archive.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    // The program ends with its main window: the layout is stored then.
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void OnCreateClient();
    // Editing (CMainFrameEdit.cpp).
    void CreateEditCommands();
    QMenu* CreateEditMenu();
    bool CanEdit() const;
    bool EditsVp() const;
    // The edit list, opened over the archive at the first edit; null when it cannot be
    // (the user has been told).
    CArchiveEditList* EditList();
    // A refused edit's reason in a message box; an edit made shows.
    bool ApplyEdit(const Result& result);
    void RefreshEditViews();
    void UpdateEditTitle();
    // The directory the list shows; the root for every file.
    std::string EditDirectory() const;
    std::vector<std::string> SelectedEditPaths() const;
    void OnAddFiles();
    void OnAddFolder();
    // Into dir, after asking about files that would replace entries.
    void AddDiskPaths(const std::string& dir, const QStringList& paths);
    void OnNewFolder();
    void OnRename();
    void OnDelete();
    void OnNewArchive();
    bool OnSave();
    bool OnSaveAs();
    bool SaveEditsTo(const std::string& path);
    void LeaveEditing();
    void PreviewEditRow(int nRow, bool bForce);
    int ExtractEditSelection(const std::string& destination, bool bKeepDirectories,
                             std::vector<std::string>* pWritten);
    static Result OpenEditDirectory(const CDestinationDir& root, const std::string& archiveDir,
                                    CDestinationDir& dir);
    Result ExtractEditRow(const EditListRow& row, const CDestinationDir& dir,
                          std::string& writtenPath);
    void CopyEditSelection(bool bArchivePaths);
    void OpenEditSelection();
    void DropFiles(const QStringList& paths, const std::optional<std::string>& treeDir,
                   const std::string& rowPath, bool bRowIsFolder);
    // The file list below its filter field.
    QWidget* CreateListPane();
    void OnListFilled();
    void CreateListMenu();
    // One line per selected row: its name, or its path inside the archive.
    void CopySelection(bool bArchivePaths);
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void FindTools();
    void RebuildRecentFileMenu();
    void OnFileOpen();
    // File-Open, the recent list and a drop open archives alike.
    void OpenArchive(const QString& path);
    void OnPlay();
    void OnOptions();
    void OnExtractToDir();
    void OnExtractToGameDir();
    Result ExtractEntry(int nFile, CEntryExtractor& extractor, std::vector<std::string>* pWritten);
    // Starts a program of the suite and forgets it; with bWithArchive the open archive
    // is its one argument.
    void StartTool(const std::string& program, bool bWithArchive, bool bMaximized);
    void OnTutorial();
    void SwitchPane(int nStep);
    void CreateGameCommands();
    bool ChooseMods(GameFolderSetup& setup);
    void ShowGameFolder(std::unique_ptr<CGameFolder> pFolder);
    void CloseGameFolder();
    void ReloadGameFolder();
    void OnGameMods();
    // "N files from A archives and L loose folders, H copies hidden", counted once a folder.
    QString GameSummary() const { return m_strGameSummary; }
    QString CountGameSummary() const;
    std::vector<int> SelectedGameFiles() const;
    void PreviewGameFile(int nFile, bool bForce);
    int ExtractGameSelection(const std::string& destination, std::vector<std::string>* pWritten);
    void OpenGameSelection();
    // Names, or locations ("mod.vp:data/tables/ships.tbl").
    void CopyGameSelection(bool bLocations);

    CORBISTAVDoc& m_doc;
    // The application object's settings: read by the views, reloaded after the options.
    AppSettings& m_settings;
    IPlatformServices& m_platform;
    CCommandTable* m_pCommands = nullptr;

    CStaticSplitter* m_wndSplitMain = nullptr;
    CStaticSplitter* m_wndSplitLeft = nullptr;
    CThinSplitterWnd* m_wndSplitPreview = nullptr;
    CLeftView* m_pTree = nullptr;
    CORBISTAVView* m_pList = nullptr;
    CAutoPreview* m_pPreview = nullptr;
    CAutoPreviewToolbar* m_pPreviewToolbar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    QLabel* m_pStatusMessage = nullptr;
    // Says how many rows a filter lets through; " " without one.
    QLabel* m_pStatusPane1 = nullptr;
    QLineEdit* m_pFilterEdit = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pListMenu = nullptr;
    QAction* m_pRecentSeparator = nullptr;
    QList<QAction*> m_aRecentActions;

    std::function<bool(const QString&)> m_fnOpenDocument;
    std::unique_ptr<CArchiveEditList> m_pEdit;
    QStringList m_aRecentFiles;
    // Where dragged-out files wait for the drop target; removed with the window.
    std::unique_ptr<QTemporaryDir> m_pDragDir;

    // The game folder shown, if any, and where its models find their textures.
    std::unique_ptr<CGameFolder> m_pGame;
    std::unique_ptr<CGameFolderTextures> m_pGameTextures;
    ModsChooser m_fnChooseMods;
    bool m_bShowHiddenCopies = false;
    QString m_strGameSummary;
};
