// CORBISTAVView: an archive's rows as they would be saved, while it is edited.
#include "CArchiveEditList.h"
#include "CEditListModel.h"
#include "CORBISTAVView.h"
#include "IFileListHost.h"
#include "Settings.h"

void CORBISTAVView::ShowEditList(const CArchiveEditList* pList)
{
    if (!pList)
    {
        if (!m_pEditList)
            return;
        m_pEditList = nullptr;
        m_pEditModel->Clear();
        UseModel(m_pModel);
        return;
    }
    if (!m_pEditModel)
    {
        m_pEditModel = new CEditListModel(this);
        m_pEditModel->SetPictures(m_folderPicture, m_documentPicture);
    }
    if (!m_pEditList)
    {
        // The stored rows point into the document's tables, which the edits leave behind.
        const int nKind = m_pModel->ColumnKind();
        m_pModel->BeginFill();
        m_pModel->EndFill(nKind, 0, CFileListModel::RowText::Name,
                          m_settings.m_bInterfaceDisplayAsKB != 0);
        m_eLastFill = Fill::None;
    }
    m_pEditList = pList;
    UseModel(m_pEditModel);
}

void CORBISTAVView::ShowEditRows(const EditListSelection& selection)
{
    if (m_pEditList)
        FillEditRows(selection);
}

void CORBISTAVView::FillEditRows(const EditListSelection& selection)
{
    setShowGrid(m_settings.m_bInterfaceShowGrid != 0);
    m_pEditModel->Fill(*m_pEditList, selection, m_filter, m_bFilterUnmatchable,
                       m_settings.m_bInterfaceDisplayAsKB != 0);
    m_nUnfilteredRows = m_pEditModel->UnfilteredRowCount();
    emit Filled();
}

void CORBISTAVView::OnEditItemChanged()
{
    // One selected file previews; several, or a folder, do not.
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1)
        return;
    const EditListRow* pRow = m_pEditModel->Row(rows.front());
    if (pRow && !pRow->bFolder)
        m_host.PreviewEntry(rows.front(), false);
}
