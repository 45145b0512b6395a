#include "CMainFrame.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include "CArchiveEditList.h"
#include "CAutoPreview.h"
#include "CAutoPreviewToolbar.h"
#include "CCommandTable.h"
#include "CGameFolderTextures.h"
#include "CLeftView.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "COptions.h"
#include "CStaticSplitter.h"
#include "CThinSplitterWnd.h"
#include "DialogUnits.h"
#include "FramePlacement.h"
#include "IPlatformServices.h"
#include "LegacyConfiguration.h"
#include "ModuleRegistry.h"
#include "ResourceImages.h"
#include "Settings.h"

namespace
{
const QString kIdleText = QStringLiteral("Ready");
const QString kVersionText = QStringLiteral("V2.0 Beta 03b (Build 106)");
const QString kOpenFilter = QStringLiteral(
    "All supported files (*.vp;*.vpc;*.vpp)|*.vp;*.vpc;*.vpp|FreeSpace 1/2 VP files "
    "(*.vp;*.vpc)|*.vp;*.vpc|Summoner VPP files (*.vpp)|*.vpp|All Files (*.*)|*.*||");
constexpr int kMaxRecentFiles = 10;
} // namespace

CMainFrame::CMainFrame(CORBISTAVDoc& doc, AppSettings& settings, IPlatformServices& platform,
                       QWidget* pParent)
    : QMainWindow(pParent), m_doc(doc), m_settings(settings), m_platform(platform)
{
    setObjectName(QStringLiteral("CMainFrame"));
    m_pCommands = new CCommandTable(this);
    OnCreateClient();
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    const QRect available = pScreen ? pScreen->availableGeometry() : QRect(0, 0, 800, 600);
    ApplyPlacement(FirstPlacement(available));
    RestoreLayout(available);
    FindTools();
    CreateCommands();
    CreateToolBar();
    CreateStatusBar();
    CreateMenus();
    m_doc.SetObserver(this);
    setAcceptDrops(true);
    // The window opens with the list in focus, not the filter field above it.
    m_pList->setFocus(Qt::OtherFocusReason);

    // Toolbar buttons follow their rules whenever the program goes idle.
    if (QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance())
        connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, m_pCommands,
                &CCommandTable::UpdateAll);
}

CMainFrame::~CMainFrame()
{
    m_doc.SetObserver(nullptr);
}

FramePlacement CMainFrame::FirstPlacement(const QRect& available) const
{
    return InitialPlacement(available, TextWidthScale(m_pList->font()),
                            m_pList->WholeColumnsWidth() + m_wndSplitMain->handleWidth());
}

void CMainFrame::ApplyPlacement(const FramePlacement& placement)
{
    setGeometry(placement.geometry);
    m_wndSplitMain->SetPaneInfo(0, placement.nLeftWidth, 100);
    m_wndSplitLeft->SetPaneInfo(0, placement.nTreeHeight, 0);
    m_wndSplitLeft->SetPaneInfo(1, placement.nTreeHeight, 50);
    m_wndSplitMain->RecalcLayout();
    m_wndSplitLeft->RecalcLayout();
}

void CMainFrame::OnCreateClient()
{
    m_wndSplitMain = new CStaticSplitter(Qt::Horizontal, this);
    m_wndSplitMain->setObjectName(QStringLiteral("m_wndSplitMain"));
    m_wndSplitLeft = new CStaticSplitter(Qt::Vertical, m_wndSplitMain);
    m_wndSplitLeft->setObjectName(QStringLiteral("m_wndSplitLeft"));

    m_pList = new CORBISTAVView(m_doc, m_settings, *this, ResourceBitmap(IDB_LIST_FOLDER),
                                ResourceBitmap(IDB_LIST_DOCUMENT));
    m_pTree = new CLeftView(m_doc, *m_pList);
    m_wndSplitPreview = new CThinSplitterWnd(m_wndSplitLeft);
    m_wndSplitPreview->setObjectName(QStringLiteral("m_wndSplitPreview"));

    m_wndSplitMain->addWidget(m_wndSplitLeft);
    m_wndSplitMain->addWidget(CreateListPane());
    m_wndSplitMain->SetPaneInfo(0, 275, 100);

    m_wndSplitLeft->addWidget(m_pTree);
    m_wndSplitLeft->addWidget(m_wndSplitPreview);
    m_wndSplitLeft->SetPaneInfo(0, 400, 0);
    m_wndSplitLeft->SetPaneInfo(1, 400, 50);

    m_pPreviewToolbar =
        new CAutoPreviewToolbar([this](int nId) { return m_pCommands->Action(nId); });
    m_pPreview = new CAutoPreview(m_doc, m_settings);
    m_pPreview->SetCaptionHandler([this](const QString& text) { SetPreviewToolbarCaption(text); });
    m_wndSplitPreview->addWidget(m_pPreviewToolbar);
    m_wndSplitPreview->addWidget(m_pPreview);
    m_wndSplitPreview->SetPaneInfo(0, 22, 0);

    setCentralWidget(m_wndSplitMain);
    m_wndSplitMain->RecalcLayout();
    m_wndSplitLeft->RecalcLayout();
}

void CMainFrame::FindTools()
{
    m_bTutorialAvailable = !FindLegacyModule("NAVPRIMER").empty();
    m_strHullglassExe = FindModuleExecutable("Vantorel HULLGLASS", "HULLGLS");
    m_strReelsmithExe = FindModuleExecutable("Vantorel REELSMITH", "REELSMT");
    m_strCapstaneExe = FindModuleExecutable("Vantorel CAPSTANE", "CAPSTN");
    m_strPreviousVersionExe = FindModuleExecutable("", "ORBISTAV");
    m_strFernholtExe = FindModuleExecutable("Vantorel FERNHOLT", "FERNHOLT");
    m_strLoomwrightExe = FindModuleExecutable("Vantorel LOOMWRIGHT", "LOOMWRT");
}

void CMainFrame::CreateCommands()
{
    CCommandTable& t = *m_pCommands;
    auto always = [] { return true; };
    auto never = [] { return false; };
    auto nothing = [] {};
    auto listHasRows = [this] { return m_pList->RowCount() > 0; };

    t.Add(
        ID_FILE_OPEN, tr("&Open .VP/.VPP file..."),
        tr("Open a .VP/.VPP archive file\nOpen .VP/.VPP file"), always, [this] { OnFileOpen(); },
        QKeySequence(Qt::CTRL | Qt::Key_O));
    t.Add(ID_OPTIONS, tr("Options / &Configuration"), tr("Set up ORBISTAV\nProgram setup"), always,
          [this] { OnOptions(); });
    t.Add(ID_APP_EXIT, tr("E&xit"), tr("Quit the application\nExit"), always, [this] { close(); });

    t.Add(
        ID_OPEN_SELECTED, tr("&Open selected file"),
        tr("Open/Run selected file in associated program\nOpen/Run selected file"),
        [this] { return m_pList->HasSingleSelectedRow(); }, [this] { OnOpenSelected(); },
        QKeySequence(Qt::Key_F3));
    t.Add(ID_EXTRACT_DEFAULT, tr("&Extract to Default Dir"),
          tr("Extract to default dir as specified in Configuration\nExtract to default dir"), never,
          nothing, QKeySequence(Qt::Key_F4));
    t.Add(
        ID_EXTRACT_TO_DIR, tr("Extract to &Dir"),
        tr("Extract to a directory of your choice\nExtract to a directory of your choice"),
        listHasRows, [this] { OnExtractToDir(); }, QKeySequence(Qt::SHIFT | Qt::Key_F4));
    t.Add(
        ID_EXTRACT_FS_DATA, tr("Extract to FREESPACE D&ata dir"),
        tr("Extract to FREESPACE data dir (for MODs)\nExtract to FREESPACE data dir"),
        [this] { return !m_doc.m_strGameDir.empty() && !m_pGame; }, [this] { OnExtractToGameDir(); },
        QKeySequence(Qt::CTRL | Qt::Key_F4));
    t.Add(
        ID_PLAY_PREVIEW, tr("&Play / Preview"), tr("Play/View in internal viewer\nPlay/Preview"),
        [this] { return m_pPreview->m_bPreviewable && !m_pPreview->m_bPreviewActive; },
        [this] { OnPlay(); }, QKeySequence(Qt::Key_F2));
    // Shift+F2, shown beside the menu item, reaches Stop/Close Preview.
    t.Add(
        ID_STOP_PREVIEW, tr("S&top / Close Preview"), tr("Stop previewing\nStop/Close Preview"),
        [this] { return m_pPreview->m_bPreviewable && m_pPreview->m_bPreviewActive; },
        [this] { m_pPreview->StopPreview(true); }, QKeySequence(Qt::SHIFT | Qt::Key_F2));
    QAction* pOneToOne = t.Add(
        ID_VIEW_ONE_TO_ONE, tr("&1:1 from the top-left"),
        tr("Show pictures larger than the preview at their size, scrolled, instead of fitted\n"
           "1:1 from the top-left"),
        always,
        [this]
        {
            m_settings.m_bPreviewOneToOne = m_settings.m_bPreviewOneToOne != 0 ? 0 : 1;
            m_pCommands->Action(ID_VIEW_ONE_TO_ONE)->setChecked(m_settings.m_bPreviewOneToOne != 0);
            WriteSetting(kSettingPreviewOneToOne, m_settings.m_bPreviewOneToOne);
            m_pPreview->SettingsChanged();
        });
    pOneToOne->setCheckable(true);
    pOneToOne->setChecked(m_settings.m_bPreviewOneToOne != 0);
    t.Add(
        ID_SELECT_ALL, tr("&Select current directory"),
        tr("Select all files in current directory\nSelect current directory"), listHasRows,
        [this] { m_pList->SelectAllRows(); }, QKeySequence(Qt::CTRL | Qt::Key_A));

    auto tool = [this](const std::string& exe, int nKind)
    {
        return [this, &exe, nKind]
        { return !exe.empty() && (nKind == 0 || (m_doc.m_nArchiveKind == nKind && !m_pGame)); };
    };
    auto start = [this](const std::string& exe, bool bWithArchive, bool bMaximized) {
        return [this, &exe, bWithArchive, bMaximized] { StartTool(exe, bWithArchive, bMaximized); };
    };
    t.Add(ID_TOOL_PREVIOUS_VERSION, tr("Open this .VP in ORBISTAV V1.x"), {},
          tool(m_strPreviousVersionExe, 1), start(m_strPreviousVersionExe, true, true));
    t.Add(ID_TOOL_LOOMWRIGHT_OPEN, tr("Open this .VPP in LOOMWRIGHT"), {},
          tool(m_strLoomwrightExe, 2), start(m_strLoomwrightExe, true, false));
    t.Add(ID_TOOL_HULLGLASS, tr("Browse the models in this .VP using HULLGLASS"), {},
          tool(m_strHullglassExe, 1), start(m_strHullglassExe, true, true));
    t.Add(ID_TOOL_REELSMITH, tr("Build a new ANImation using REELSMITH"), {},
          tool(m_strReelsmithExe, 0), start(m_strReelsmithExe, false, false));
    t.Add(ID_TOOL_FERNHOLT, tr("Download FreeSpace missions using FERNHOLT"), {},
          tool(m_strFernholtExe, 0), start(m_strFernholtExe, false, true));
    t.Add(ID_TOOL_CAPSTANE, tr("View your pilot info and stats using CAPSTANE"), {},
          tool(m_strCapstaneExe, 0), start(m_strCapstaneExe, false, false));
    t.Add(ID_TOOL_LOOMWRIGHT_BUILD,
          tr("Build a new VPP file for Summoner/Red Faction using LOOMWRIGHT"), {},
          tool(m_strLoomwrightExe, 0), start(m_strLoomwrightExe, false, false));

    // F1, shown beside the menu item, reaches the tutorial.
    t.Add(
        ID_TUTORIAL, tr("NAVPRIMER &Quick Start Tutorial"), {},
        [this] { return m_bTutorialAvailable != 0; }, [this] { OnTutorial(); },
        QKeySequence(Qt::Key_F1));
    t.Add(ID_CHECK_VERSION, tr("&Check for new version"),
          tr("Checks for a new version on the Internet\nCheck for a new version"), always,
          [this] { m_platform.CallCompanion("DoVXVC"); });
    t.Add(ID_APP_ABOUT, tr("&About"), {}, always, [this] { m_platform.CallCompanion("DoAbout"); });

    t.Add(
        ID_NEXT_PANE, tr("Next Pane"), tr("Switch to the next window pane\nNext Pane"), always,
        [this] { SwitchPane(1); }, QKeySequence(Qt::Key_F6));
    t.Add(
        ID_PREV_PANE, tr("Previous Pane"),
        tr("Switch back to the previous window pane\nPrevious Pane"), always,
        [this] { SwitchPane(-1); }, QKeySequence(Qt::SHIFT | Qt::Key_F6));
    // The blank toolbar button has no handler: always disabled.
    t.Add(ID_BLANK, QString(), {}, never, {});
    for (const int nId : {ID_NEXT_PANE, ID_PREV_PANE})
        addAction(t.Action(nId));
    CreateEditCommands();
    CreateGameCommands();
}

void CMainFrame::CreateMenus()
{
    CCommandTable& t = *m_pCommands;
    QMenuBar* pBar = menuBar();
    auto addMenu = [&](const QString& title, std::initializer_list<int> ids)
    {
        QMenu* pMenu = pBar->addMenu(title);
        connect(pMenu, &QMenu::aboutToShow, m_pCommands, &CCommandTable::UpdateAll);
        for (const int nId : ids)
        {
            if (nId == 0)
                pMenu->addSeparator();
            else
                pMenu->addAction(t.Action(nId));
        }
        return pMenu;
    };
    m_pFileMenu = addMenu(tr("&File"), {ID_FILE_OPEN, ID_FILE_OPEN_GAME_FOLDER, 0, ID_OPTIONS, 0});
    m_pRecentSeparator = m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(t.Action(ID_APP_EXIT));
    // New Archive above Open; Save and Save As below the open commands.
    m_pFileMenu->insertAction(t.Action(ID_FILE_OPEN), t.Action(ID_FILE_NEW_ARCHIVE));
    for (QAction* pAction : m_pFileMenu->actions())
        if (pAction->isSeparator())
        {
            m_pFileMenu->insertActions(pAction, {t.Action(ID_FILE_SAVE), t.Action(ID_FILE_SAVE_AS)});
            m_pFileMenu->insertSeparator(t.Action(ID_FILE_SAVE));
            break;
        }
    RebuildRecentFileMenu();
    addMenu(tr("&Action"),
            {ID_OPEN_SELECTED, ID_EXTRACT_DEFAULT, ID_EXTRACT_TO_DIR, ID_EXTRACT_FS_DATA, 0,
             ID_PLAY_PREVIEW, ID_STOP_PREVIEW, 0, ID_SELECT_ALL});
    addMenu(tr("&Tools"),
            {ID_TOOL_PREVIOUS_VERSION, ID_TOOL_LOOMWRIGHT_OPEN, ID_TOOL_HULLGLASS, 0,
             ID_TOOL_REELSMITH, ID_TOOL_FERNHOLT, ID_TOOL_CAPSTANE, ID_TOOL_LOOMWRIGHT_BUILD});
    QMenu* pHelp = addMenu(tr("&Help"), {ID_TUTORIAL, 0, ID_CHECK_VERSION, ID_APP_ABOUT});
    // Made after the original's menus, so they keep their places among the bar's children,
    // and shown before Tools.
    QMenu* pView = addMenu(tr("&View"), {ID_VIEW_ONE_TO_ONE, 0, ID_VIEW_HIDDEN_COPIES, ID_VIEW_MODS,
                                         ID_GAME_RELOAD});
    pBar->insertMenu(pBar->actions().at(pBar->actions().indexOf(pHelp->menuAction()) - 1),
                     pView);
    pBar->insertMenu(pBar->actions().at(1), CreateEditMenu());
    CreateListMenu();
}

void CMainFrame::CreateToolBar()
{
    m_wndToolBar = new QToolBar(tr("Toolbar"), this);
    m_wndToolBar->setObjectName(QStringLiteral("m_wndToolBar"));
    m_wndToolBar->setIconSize(QSize(22, 22));
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_wndToolBar->setMovable(false);
    m_wndToolBar->setFloatable(false);
    m_wndToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const std::pair<int, QString> buttons[] = {
        {ID_FILE_OPEN, tr("Load .VP/.VPP")},
        {0, {}},
        {ID_EXTRACT_DEFAULT, tr("Extract to default dir")},
        {ID_EXTRACT_TO_DIR, tr("Extract to dir")},
        {ID_EXTRACT_FS_DATA, tr("Extract to FS DATA dir")},
        {0, {}},
        {ID_OPTIONS, tr("Options")},
        {0, {}},
        {ID_BLANK, {}},
    };
    QList<QToolButton*> tools;
    for (const auto& [nId, label] : buttons)
    {
        if (nId == 0)
        {
            m_wndToolBar->addSeparator();
            continue;
        }
        // The toolbar shows its own label and image; menu and toolbar share state.
        QAction* pCommand = m_pCommands->Action(nId);
        auto* pButton = new QToolButton(m_wndToolBar);
        auto* pProxy = new QAction(MainToolbarIcon(nId), label, pButton);
        pProxy->setToolTip(pCommand->toolTip());
        pProxy->setStatusTip(pCommand->statusTip());
        pProxy->setEnabled(pCommand->isEnabled());
        pProxy->setData(nId);
        connect(pCommand, &QAction::changed, pProxy,
                [pProxy, pCommand] { pProxy->setEnabled(pCommand->isEnabled()); });
        connect(pProxy, &QAction::triggered, m_pCommands, [this, nId] { m_pCommands->Run(nId); });
        pButton->setDefaultAction(pProxy);
        pButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        pButton->setAutoRaise(true);
        pButton->setObjectName(QStringLiteral("toolbarButton%1").arg(nId));
        m_wndToolBar->addWidget(pButton);
        tools << pButton;
    }
    // One height for all; each button as wide as its label, as auto-sized buttons are.
    int nHeight = 0;
    for (QToolButton* pButton : tools)
        nHeight = std::max(nHeight, pButton->sizeHint().height());
    for (QToolButton* pButton : tools)
        pButton->setFixedHeight(nHeight);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* pBar = statusBar();
    pBar->setSizeGripEnabled(true);
    m_pStatusMessage = new QLabel(kIdleText, pBar);
    m_pStatusMessage->setObjectName(QStringLiteral("statusPane0"));
    m_pStatusMessage->setMinimumWidth(150);
    auto* pPane1 = new QLabel(QStringLiteral(" "), pBar);
    pPane1->setObjectName(QStringLiteral("statusPane1"));
    pPane1->setMinimumWidth(150);
    m_pStatusPane1 = pPane1;
    auto* pPane2 = new QLabel(kVersionText, pBar);
    pPane2->setObjectName(QStringLiteral("statusPane2"));
    pPane2->setMinimumWidth(150);
    pBar->addWidget(m_pStatusMessage, 1);
    pBar->addWidget(pPane1, 1);
    pBar->addPermanentWidget(pPane2, 0);
}

bool CMainFrame::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::StatusTip)
    {
        // Prompts show in pane 0; when the pointer leaves, the idle text returns.
        const QString tip = static_cast<QStatusTipEvent*>(pEvent)->tip();
        m_pStatusMessage->setText(tip.isEmpty() ? kIdleText : tip);
        return true;
    }
    return QMainWindow::event(pEvent);
}

void CMainFrame::SetMessageText(const QString& text)
{
    m_pStatusMessage->setText(text);
}

QString CMainFrame::MessageText() const
{
    return m_pStatusMessage->text();
}

void CMainFrame::SetOpenDocumentHandler(std::function<bool(const QString&)> handler)
{
    m_fnOpenDocument = std::move(handler);
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    m_aRecentFiles = paths.mid(0, kMaxRecentFiles);
    RebuildRecentFileMenu();
}

void CMainFrame::RebuildRecentFileMenu()
{
    if (!m_pFileMenu)
        return;
    for (QAction* pAction : m_aRecentActions)
    {
        m_pFileMenu->removeAction(pAction);
        delete pAction;
    }
    m_aRecentActions.clear();
    QAction* pBefore = m_pRecentSeparator;
    if (m_aRecentFiles.isEmpty())
    {
        auto* pPlaceholder = new QAction(tr("Recent File"), m_pFileMenu);
        pPlaceholder->setEnabled(false);
        m_pFileMenu->insertAction(pBefore, pPlaceholder);
        m_aRecentActions << pPlaceholder;
        return;
    }
    for (int i = 0; i < m_aRecentFiles.size(); ++i)
    {
        const QString path = m_aRecentFiles[i];
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* pAction =
            new QAction(QStringLiteral("&%1 %2").arg(
                            i + 1 < 10 ? QString::number(i + 1) : QStringLiteral("1&0"), shown),
                        m_pFileMenu);
        pAction->setData(ID_FILE_MRU_FIRST + i);
        pAction->setStatusTip(tr("Open this document"));
        connect(pAction, &QAction::triggered, this, [this, path] { OpenArchive(path); });
        m_pFileMenu->insertAction(pBefore, pAction);
        m_aRecentActions << pAction;
    }
}

void CMainFrame::RefreshViews()
{
    m_pList->SetupColumns();
    m_pTree->Rebuild();
}

void CMainFrame::SetPreviewToolbarCaption(const QString& text)
{
    if (m_pPreviewToolbar)
        m_pPreviewToolbar->SetCaptionText(text);
}

int CMainFrame::CountSelectedRows() const
{
    return static_cast<int>(m_pList->SelectedRows().size());
}

void CMainFrame::PreviewEntry(int nFile, bool bForce)
{
    if (m_pEdit)
        return PreviewEditRow(nFile, bForce);
    if (m_pGame)
        return PreviewGameFile(nFile, bForce);
    if (nFile >= 0 && nFile < m_doc.m_nFileCount)
        m_pPreview->PreviewEntry(m_doc.m_files[nFile], bForce);
}

void CMainFrame::OnBeforeRead()
{
    m_pPreview->DocumentReading();
}

void CMainFrame::OnAfterRead()
{
    // Edits were over the archive read before; the views leave them below.
    m_pEdit.reset();
    CloseGameFolder();
    RefreshViews();
}

void CMainFrame::OnFileOpen()
{
    const QString path = m_platform.GetOpenFileName(this, kOpenFilter);
    if (!path.isEmpty())
        OpenArchive(path);
}

void CMainFrame::OpenArchive(const QString& path)
{
    if (!m_fnOpenDocument || !SaveModified())
        return;
    m_pPreview->StopPreview(true);
    m_fnOpenDocument(path);
}

void CMainFrame::OnPlay()
{
    if (m_pEdit)
    {
        if (const std::vector<int> rows = m_pList->SelectedRows(); !rows.empty())
            PreviewEditRow(rows.front(), true);
        return;
    }
    if (m_pGame)
    {
        if (const std::vector<int> files = SelectedGameFiles(); !files.empty())
            PreviewGameFile(files.front(), true);
        return;
    }
    const std::vector<int> rows = m_pList->SelectedRows();
    // A folder row holds a directory index, not a file: nothing to play.
    if (rows.empty() || m_pList->m_aRowIsFolder[static_cast<std::size_t>(rows.front())])
        return;
    PreviewEntry(m_pList->m_aRowIndex[static_cast<std::size_t>(rows.front())], true);
}

void CMainFrame::OnOptions()
{
    m_pPreview->StopPreview(true);
    COptions sheet(m_settings, m_platform, this);
    sheet.exec();
    // Whatever closed the sheet: what is stored now takes effect, and the list shows sizes
    // and grid lines as set.
    LoadSettings(m_settings);
    m_pTree->ShowSelection();
}

void CMainFrame::SwitchPane(int nStep)
{
    const QList<QWidget*> panes = {m_pTree, m_pPreview, m_pList};
    qsizetype nIndex = -1;
    for (qsizetype i = 0; i < panes.size(); ++i)
        if (panes[i] == QApplication::focusWidget() ||
            panes[i]->isAncestorOf(QApplication::focusWidget()))
            nIndex = i;
    for (qsizetype n = 1; n <= panes.size(); ++n)
    {
        QWidget* pNext = panes[(nIndex + nStep * n + panes.size() * 2) % panes.size()];
        if (pNext->isVisible() && pNext->width() > 0 && pNext->height() > 0)
        {
            pNext->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
