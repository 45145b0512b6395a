#include "CSaveProgressDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CSaveProgressDlg::CSaveProgressDlg(QWidget* pOwner, const QString& action) : QDialog(pOwner)
{
    setObjectName(QStringLiteral("saveProgress"));
    setWindowTitle(QStringLiteral("Vantorel ORBISTAV"));
    setWindowModality(Qt::ApplicationModal);
    auto* pLayout = new QVBoxLayout(this);
    auto* pAction = new QLabel(action, this);
    pAction->setObjectName(QStringLiteral("saveAction"));
    pLayout->addWidget(pAction);
    m_wndProgress = new QProgressBar(this);
    m_wndProgress->setRange(0, 1000);
    m_wndProgress->setValue(0);
    m_wndProgress->setMinimumWidth(320);
    pLayout->addWidget(m_wndProgress);
    m_wndCancel = new QPushButton(tr("Cancel"), this);
    m_wndCancel->setObjectName(QStringLiteral("cancelSave"));
    pLayout->addWidget(m_wndCancel, 0, Qt::AlignRight);
    connect(m_wndCancel, &QPushButton::clicked, this, [this] { m_bCancelled = true; });
    m_shownAt.start();
}

bool CSaveProgressDlg::Step(std::int64_t nDone, std::int64_t nTotal)
{
    // A save of a few small files ends before the window would be seen.
    if (!isVisible() && m_shownAt.elapsed() >= 200)
        show();
    if (nTotal > 0)
        m_wndProgress->setValue(static_cast<int>(nDone * 1000 / nTotal));
    // The window is modal: only its own Cancel reaches the program meanwhile.
    QCoreApplication::processEvents();
    return !m_bCancelled;
}

void CSaveProgressDlg::closeEvent(QCloseEvent* pEvent)
{
    // Closing the window is asking to stop.
    m_bCancelled = true;
    pEvent->ignore();
}
