#include "CModsDialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr int kRoleMod = Qt::UserRole;
}

CModsDialog::CModsDialog(const QString& gameDir, const std::vector<std::string>& candidates,
                         const std::vector<std::string>& chosen, QWidget* pParent)
    : QDialog(pParent), m_pList(new QListWidget(this)),
      m_pUp(new QPushButton(tr("Move &up"), this)), m_pDown(new QPushButton(tr("Move &down"), this))
{
    setObjectName(QStringLiteral("CModsDialog"));
    setWindowTitle(tr("Mods"));
    auto* pText = new QLabel(
        tr("Mods of %1, as the game's -mod list takes them: the first ticked wins over those "
           "below it, and all of them over the game folder.")
            .arg(QDir::toNativeSeparators(gameDir)),
        this);
    pText->setWordWrap(true);

    auto add = [this](const std::string& mod, bool bTicked, bool bMissing)
    {
        QString text = QString::fromStdString(mod);
        if (bMissing)
            text += tr("  (not in the folder)");
        auto* pItem = new QListWidgetItem(text, m_pList);
        pItem->setData(kRoleMod, QString::fromStdString(mod));
        pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        pItem->setCheckState(bTicked ? Qt::Checked : Qt::Unchecked);
    };
    for (const std::string& mod : chosen)
        add(mod, true, !QDir(gameDir + QLatin1Char('/') + QString::fromStdString(mod)).exists());
    for (const std::string& mod : candidates)
        if (std::find(chosen.begin(), chosen.end(), mod) == chosen.end())
            add(mod, false, false);
    if (m_pList->count() > 0)
        m_pList->setCurrentRow(0);

    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pUp);
    pButtons->addWidget(m_pDown);
    pButtons->addStretch(1);
    auto* pMiddle = new QHBoxLayout;
    pMiddle->addWidget(m_pList, 1);
    pMiddle->addLayout(pButtons);
    auto* pBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pText);
    pLayout->addLayout(pMiddle, 1);
    pLayout->addWidget(pBox);

    connect(m_pUp, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(m_pDown, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
    connect(m_pList, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(pBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateButtons();
    resize(420, 320);
}

std::vector<std::string> CModsDialog::Chosen() const
{
    std::vector<std::string> mods;
    for (int i = 0; i < m_pList->count(); ++i)
        if (m_pList->item(i)->checkState() == Qt::Checked)
            mods.push_back(m_pList->item(i)->data(kRoleMod).toString().toStdString());
    return mods;
}

void CModsDialog::MoveCurrent(int nStep)
{
    const int nRow = m_pList->currentRow();
    const int nTo = nRow + nStep;
    if (nRow < 0 || nTo < 0 || nTo >= m_pList->count())
        return;
    QListWidgetItem* pItem = m_pList->takeItem(nRow);
    m_pList->insertItem(nTo, pItem);
    m_pList->setCurrentRow(nTo);
}

void CModsDialog::UpdateButtons()
{
    const int nRow = m_pList->currentRow();
    m_pUp->setEnabled(nRow > 0);
    m_pDown->setEnabled(nRow >= 0 && nRow + 1 < m_pList->count());
}
