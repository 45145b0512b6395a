#include "COptions.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTabWidget>

#include "COptions1.h"
#include "COptions2.h"
#include "DialogUnits.h"
#include "Settings.h"

COptions::COptions(AppSettings& settings, IPlatformServices& platform, QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Options & Configuration"));
    setFont(TahomaFont(8));
    const QSize base = DialogBaseUnits(font());

    LoadSettings(settings);
    m_pageGames = new COptions1(platform);
    m_pageSettings = new COptions2(settings);
    m_wndTab = new QTabWidget;
    m_wndTab->addTab(m_pageSettings, m_pageSettings->Title());
    m_wndTab->addTab(m_pageGames, m_pageGames->Title());
    m_wndTab->setCurrentIndex(0);

    // Fixed texts: a desktop theme may give its standard buttons mnemonics ("&Cancel")
    // that would take Alt+C from "&Configure game paths".
    m_wndOk = new QPushButton(QStringLiteral("OK"));
    m_wndCancel = new QPushButton(QStringLiteral("Cancel"));
    m_wndOk->setDefault(true);
    const QSize button = DialogRect(base, 0, 0, 50, 14).size();
    for (QPushButton* pButton : {m_wndOk, m_wndCancel})
        pButton->setMinimumSize(button);
    connect(m_wndOk, &QPushButton::clicked, this, &COptions::accept);
    connect(m_wndCancel, &QPushButton::clicked, this, &COptions::reject);

    const QRect margin = DialogRect(base, 0, 0, 7, 7);
    auto* pButtons = new QHBoxLayout;
    pButtons->setSpacing(DialogRect(base, 0, 0, 4, 0).width());
    pButtons->addStretch(1);
    pButtons->addWidget(m_wndOk);
    pButtons->addWidget(m_wndCancel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(margin.width(), margin.height(), margin.width(), margin.height());
    pLayout->setSpacing(margin.height());
    pLayout->addWidget(m_wndTab);
    pLayout->addLayout(pButtons);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

void COptions::accept()
{
    // In tab order; a page whose tab was never shown has nothing to apply.
    for (COptionsPage* pPage :
         {static_cast<COptionsPage*>(m_pageSettings), static_cast<COptionsPage*>(m_pageGames)})
    {
        if (pPage->IsCreated())
            pPage->OnOK();
    }
    QDialog::accept();
}
