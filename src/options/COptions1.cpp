#include "COptions1.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "GameDirectories.h"
#include "IPlatformServices.h"
#include "LegacyConfiguration.h"

namespace
{
struct GameRow
{
    int32_t nGame;
    int32_t nEdition;
};

constexpr std::array<GameRow, COptions1::kGameRows> kRows = {{
    {GameFreeSpace1, EditionDemo},
    {GameFreeSpace1, EditionOem},
    {GameFreeSpace1, EditionFull},
    {GameFreeSpace2, EditionDemo},
    {GameFreeSpace2, EditionFull},
    {GameSummoner, EditionDemo},
    {GameSummoner, EditionFull},
}};
} // namespace

COptions1::COptions1(IPlatformServices& platform, QWidget* pParent)
    : COptionsPage(QStringLiteral("Games"), 342, 138, pParent), m_platform(platform)
{
    Place(new QGroupBox(QStringLiteral("Games")), 0, 5, 10, 330, 60);
    auto* pText = new QLabel(QStringLiteral("Configure your FreeSpace, Summoner and Red Faction "
                                            "game paths for all Vantorel modules by pressing the "
                                            "button below:"));
    pText->setWordWrap(true);
    pText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(pText, 0, 15, 23, 310, 18);
    auto* pConfigure =
        Place(new QPushButton(QStringLiteral("&Configure game paths")), 1013, 15, 45, 310, 14);
    connect(pConfigure, &QPushButton::clicked, this, &COptions1::OnConfigureGamePaths);
}

void COptions1::OnInitDialog()
{
    ReadGameTable();
}

void COptions1::OnOK()
{
    for (int i = 0; i < kGameRows; ++i)
        WriteLegacyGameDirectory(kRows[i].nGame, kRows[i].nEdition, m_aDirectory[i]);
}

void COptions1::OnConfigureGamePaths()
{
    m_platform.CallCompanion("DoConfigGames");
    // The suite's editor has just stored what the user chose; a table read before it ran
    // would put the old directories back into the legacy configuration on OK.
    ReadGameTable();
}

void COptions1::ReadGameTable()
{
    for (int i = 0; i < kGameRows; ++i)
        m_aDirectory[i] = GetGamePath(kRows[i].nGame, kRows[i].nEdition);
}
