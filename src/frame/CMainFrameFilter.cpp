// The filter field above the file list and what the status bar says about it.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "CMainFrame.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"

QWidget* CMainFrame::CreateListPane()
{
    auto* pPane = new QWidget;
    pPane->setObjectName(QStringLiteral("listPane"));
    auto* pLayout = new QVBoxLayout(pPane);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(2);

    m_pFilterEdit = new QLineEdit(pPane);
    m_pFilterEdit->setObjectName(QStringLiteral("filterField"));
    m_pFilterEdit->setPlaceholderText(tr("Filter by name, * and ? as wildcards (Ctrl+F)"));
    pLayout->addWidget(m_pFilterEdit);
    // The clear button is made when first needed: its icon comes from the icon theme, whose
    // look-up took some 15 ms before the window could show.
    connect(m_pFilterEdit, &QLineEdit::textChanged, m_pFilterEdit,
            [this](const QString& text)
            {
                if (!text.isEmpty() && !m_pFilterEdit->isClearButtonEnabled())
                    m_pFilterEdit->setClearButtonEnabled(true);
            });
    pLayout->addWidget(m_pList, 1);

    connect(m_pFilterEdit, &QLineEdit::textChanged, m_pList, &CORBISTAVView::SetFilter);
    connect(m_pList, &CORBISTAVView::Filled, this, &CMainFrame::OnListFilled);

    auto* pFind = new QAction(tr("Filter"), this);
    pFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(pFind, &QAction::triggered, this,
            [this]
            {
                m_pFilterEdit->setFocus(Qt::ShortcutFocusReason);
                m_pFilterEdit->selectAll();
            });
    addAction(pFind);
    // Esc in the field or in the list clears the filter.
    auto* pClear = new QAction(tr("Clear filter"), pPane);
    pClear->setShortcut(QKeySequence(Qt::Key_Escape));
    pClear->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(pClear, &QAction::triggered, m_pFilterEdit, &QLineEdit::clear);
    pPane->addAction(pClear);
    return pPane;
}

void CMainFrame::OnListFilled()
{
    if (!m_pStatusPane1)
        return;
    const bool bCounted =
        m_pList->IsFiltered() && (m_doc.m_nArchiveKind != ARCHIVE_KIND_NONE || m_pGame);
    // A game folder says what it is made of while no filter counts.
    m_pStatusPane1->setText(
        bCounted
            ? tr("%1 of %2 files shown").arg(m_pList->RowCount()).arg(m_pList->UnfilteredRowCount())
            : m_pGame ? GameSummary() : QStringLiteral(" "));
}
