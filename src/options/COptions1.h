#pragma once

#include <array>
#include <string>

#include "COptionsPage.h"

class IPlatformServices;

// The "Games" page: the way to the suite's own editor of game directories, and behind it
// the table of game editions and directories that OK writes into the legacy configuration.
class COptions1 : public COptionsPage
{
    Q_OBJECT
public:
    explicit COptions1(IPlatformServices& platform, QWidget* pParent = nullptr);

    // Writes the table's directories with WriteLegacyGameDirectory.
    void OnOK() override;

    // The FreeSpace 1 and 2 and Summoner editions the table holds; its Red Faction rows
    // have no directory and are never written, so they are not kept.
    static constexpr int kGameRows = 7;

protected:
    void OnInitDialog() override;

private:
    void OnConfigureGamePaths();
    void ReadGameTable();

    IPlatformServices& m_platform;
    std::array<std::string, kGameRows> m_aDirectory;
};
