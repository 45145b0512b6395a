// CORBISTAVView: the rows of a game folder in place of an archive's.
#include <QHeaderView>
#include <QItemSelectionModel>

#include "CGameFolderListModel.h"
#include "CORBISTAVView.h"
#include "DialogUnits.h"
#include "Settings.h"

void CORBISTAVView::UseModel(QAbstractItemModel* pModel)
{
    if (model() == pModel)
        return;
    QItemSelectionModel* pOld = selectionModel();
    setModel(pModel);
    delete pOld;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnItemChanged(); });
}

void CORBISTAVView::ShowGameFolder(const CGameFolder* pFolder)
{
    if (!pFolder)
    {
        if (!m_bGameFolder)
            return;
        m_aGameColumnWidths.clear();
        for (int i = 0; i < m_pGameModel->columnCount(); ++i)
            m_aGameColumnWidths.push_back(horizontalHeader()->sectionSize(i));
        m_pGameModel->SetFolder(nullptr);
        m_bGameFolder = false;
        UseModel(m_pModel);
        return;
    }
    if (!m_pGameModel)
    {
        m_pGameModel = new CGameFolderListModel(this);
        m_pGameModel->SetPicture(m_documentPicture);
    }
    if (!m_bGameFolder)
    {
        // The archive's rows point into its tables; they go, and its widths are kept for
        // when an archive is shown again.
        const int nKind = m_pModel->ColumnKind();
        if (nKind != ARCHIVE_KIND_NONE)
            SetColumnWidths(nKind, ColumnWidths(nKind));
        m_pModel->BeginFill();
        m_pModel->EndFill(ARCHIVE_KIND_NONE, 0, CFileListModel::RowText::Name,
                          m_settings.m_bInterfaceDisplayAsKB != 0);
        m_eLastFill = Fill::None;
    }
    m_pGameModel->SetFolder(pFolder);
    m_bGameFolder = true;
    UseModel(m_pGameModel);
    if (m_aGameColumnWidths.size() != 4)
        m_aGameColumnWidths = {ScaleTextWidth(200, font()), ScaleTextWidth(70, font()),
                               ScaleTextWidth(100, font()), ScaleTextWidth(230, font())};
    for (std::size_t i = 0; i < m_aGameColumnWidths.size(); ++i)
        horizontalHeader()->resizeSection(static_cast<int>(i), m_aGameColumnWidths[i]);
}

void CORBISTAVView::ShowGameRows(const GameListSelection& selection)
{
    if (!m_bGameFolder)
        return;
    FillGameRows(selection);
}

void CORBISTAVView::SetShowHiddenCopies(bool bShow)
{
    m_bShowHiddenCopies = bShow;
    if (m_bGameFolder)
        FillGameRows(m_pGameModel->Selection());
}

void CORBISTAVView::FillGameRows(const GameListSelection& selection)
{
    // A typed character no stored name can hold lets nothing through; a control character
    // stands for it, as no name holds one either.
    static const NameFilter kNothing(std::string_view("\x01\x02", 2));
    setShowGrid(m_settings.m_bInterfaceShowGrid != 0);
    const bool bWasIgnored = m_pGameModel->ShowsIgnored();
    if (!bWasIgnored)
    {
        m_aGameColumnWidths.clear();
        for (int i = 0; i < m_pGameModel->columnCount(); ++i)
            m_aGameColumnWidths.push_back(horizontalHeader()->sectionSize(i));
    }
    m_pGameModel->Fill(selection, m_bFilterUnmatchable ? &kNothing : &m_filter,
                       m_bShowHiddenCopies, m_settings.m_bInterfaceDisplayAsKB != 0);
    // The reasons need room the Size column never had; the file rows get their widths back.
    if (m_pGameModel->ShowsIgnored() && !bWasIgnored)
    {
        const int aWidths[] = {ScaleTextWidth(250, font()), ScaleTextWidth(330, font()),
                               ScaleTextWidth(230, font())};
        for (int i = 0; i < 3; ++i)
            horizontalHeader()->resizeSection(i, aWidths[i]);
    }
    else if (!m_pGameModel->ShowsIgnored() && bWasIgnored)
        for (std::size_t i = 0; i < m_aGameColumnWidths.size(); ++i)
            horizontalHeader()->resizeSection(static_cast<int>(i), m_aGameColumnWidths[i]);
    m_nUnfilteredRows = m_pGameModel->UnfilteredRowCount();
    emit Filled();
}
