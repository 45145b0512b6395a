#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CConfigSandbox.h"
#include "CRegistryFile.h"
#include "GameDirectories.h"
#include "IniAccess.h"
#include "LegacyConfiguration.h"
#include "SuiteAccess.h"

namespace
{

const std::string kGames = "\\Games Configuration";

class ConfigMigration : public ::testing::Test
{
protected:
    CConfigSandbox m_sandbox;

    std::string KroyDir() const { return m_sandbox.DriveC() + "/Kroy"; }

    // A legacy suite in the fake Wine prefix: c:\kroy.cfg naming kroy3, with kroy.ini and,
    // unless it is null, vantorel.ini in C:\Kroy.
    void WriteLegacySuite(const char* vantorelIni, const std::string& kroy3 = "C:\\Kroy")
    {
        CConfigSandbox::WriteFile(m_sandbox.DriveC() + "/kroy.cfg",
                                  "[Directories]\r\nKroy3=" + kroy3 + "\r\n");
        CConfigSandbox::WriteFile(KroyDir() + "/kroy.ini", "[Moduls_Dirs]\r\n");
        if (vantorelIni)
            CConfigSandbox::WriteFile(KroyDir() + "/vantorel.ini", vantorelIni);
    }
    static bool HasGameKey(const std::string& gameName)
    {
        return CRegistryFile(RegistryRoot::HKEY_LOCAL_MACHINE)
                   .Read()
                   .FindValue("Software\\Quillmoor\\Games Configuration\\" + gameName, "Path") !=
               nullptr;
    }
    static std::string GamePath(const std::string& gameName)
    {
        return ReadSuiteString(kGames + "\\" + gameName, "Path");
    }
};

TEST_F(ConfigMigration, OnlyFs2FullWritesAllSixteenKeys)
{
    ASSERT_TRUE(WriteSuiteString(kGames + "\\Summoner 1", "Path", "/old"));
    WriteLegacySuite("[FreeSpace]\r\nFS2Full=C:\\Games\\FreeSpace2\r\n");
    MigrateLegacyConfiguration();

    EXPECT_EQ(ReadSuiteDword(kGames, "KroyMigration", 0), 1);
    for (const LegacyGameSource& game : kLegacyGameSources)
        EXPECT_TRUE(HasGameKey(game.pszGameName)) << game.pszGameName;
    EXPECT_EQ(GamePath("Summoner 1"), ""); // overwritten
    EXPECT_EQ(GamePath("FreeSpace 2 Demo"), "");
    // Stored as the host path this machine can open.
    EXPECT_EQ(GamePath("FreeSpace 2"), m_sandbox.DriveC() + "/Games/FreeSpace2");
    EXPECT_EQ(GetGamePath(GameFreeSpace2, EditionFull), m_sandbox.DriveC() + "/Games/FreeSpace2/");
}

TEST_F(ConfigMigration, DescentDemoTakesTheFullVersionsDirectory)
{
    WriteLegacySuite("[Descent]\r\nD1Demo=C:\\Wrong\r\nD1OEM=/games/d1oem\r\nD1Full=C:\\D1\r\n");
    MigrateLegacyConfiguration();
    EXPECT_EQ(GamePath("Descent 1 Demo"), m_sandbox.DriveC() + "/D1");
    EXPECT_EQ(GamePath("Descent 1"), m_sandbox.DriveC() + "/D1");
    EXPECT_EQ(GamePath("Descent 1 OEM"), "/games/d1oem");
}

TEST_F(ConfigMigration, RunsOnceEvenWhenLegacyFilesAppearLater)
{
    MigrateLegacyConfiguration(); // nothing there yet: only the flag is set
    EXPECT_EQ(ReadSuiteDword(kGames, "KroyMigration", 0), 1);
    WriteLegacySuite("[FreeSpace]\r\nFS2Full=C:\\FS2\r\n");
    MigrateLegacyConfiguration();
    EXPECT_FALSE(HasGameKey("FreeSpace 2"));
}

TEST_F(ConfigMigration, StopsWhenALegacyFileIsMissing)
{
    WriteLegacySuite(nullptr); // no vantorel.ini
    MigrateLegacyConfiguration();
    EXPECT_EQ(ReadSuiteDword(kGames, "KroyMigration", 0), 1);
    for (const LegacyGameSource& game : kLegacyGameSources)
        EXPECT_FALSE(HasGameKey(game.pszGameName)) << game.pszGameName;

    ASSERT_TRUE(WriteSuiteDword(kGames, "KroyMigration", 0));
    WriteLegacySuite("[FreeSpace]\r\nFS2Full=C:\\FS2\r\n");
    std::remove((KroyDir() + "/kroy.ini").c_str());
    MigrateLegacyConfiguration();
    EXPECT_FALSE(HasGameKey("FreeSpace 2"));
}

TEST_F(ConfigMigration, FindsLegacyFilesWhateverTheirCase)
{
    CConfigSandbox::WriteFile(m_sandbox.DriveC() + "/KROY.CFG", "[DIRECTORIES]\nkroy3=c:\\KROY\n");
    CConfigSandbox::WriteFile(KroyDir() + "/KROY.INI", "");
    CConfigSandbox::WriteFile(KroyDir() + "/Vantorel.ini", "[FreeSpace]\nFS1Full=c:\\games\\FS1\n");
    CConfigSandbox::WriteFile(m_sandbox.DriveC() + "/Games/FS1/root_fs1.vp", "");
    MigrateLegacyConfiguration();
    EXPECT_EQ(GamePath("FreeSpace 1"), m_sandbox.DriveC() + "/Games/FS1");
}

TEST_F(ConfigMigration, GamePathLookupNames)
{
    ASSERT_TRUE(WriteSuiteString(kGames + "\\Summoner", "Path", "/s"));
    ASSERT_TRUE(WriteSuiteString(kGames + "\\Summoner 1", "Path", "/s1"));
    ASSERT_TRUE(WriteSuiteString(kGames + "\\Summoner Demo", "Path", "/sd/"));
    ASSERT_TRUE(WriteSuiteString(kGames + "\\FreeSpace 2 OEM", "Path", "/fs2oem"));
    ASSERT_TRUE(WriteSuiteString(kGames + "\\FreeSpace 1 Demo", "Path", ""));
    ASSERT_TRUE(WriteSuiteString(kGames + "\\FreeSpace 2", "Path", "C:\\Games\\FreeSpace2"));

    EXPECT_EQ(GetGamePath(GameSummoner, EditionFull), "/s/");
    EXPECT_EQ(GetGamePath(GameSummoner, EditionDemo), "/sd/");
    EXPECT_EQ(GetGamePath(GameFreeSpace2, EditionOem), "/fs2oem/");
    EXPECT_EQ(GetGamePath(GameFreeSpace1, EditionDemo), "");
    EXPECT_EQ(GetGamePath(GameFreeSpace1, EditionFull), "");
    EXPECT_EQ(GetGamePath(GameFreeSpace2, EditionFull), m_sandbox.DriveC() + "/Games/FreeSpace2/");
    EXPECT_EQ(GetGamePath(3, 0), "");
    EXPECT_EQ(GetGamePath(GameSummoner, 3), "");
}

TEST_F(ConfigMigration, WriteLegacyGameDirectory)
{
    EXPECT_FALSE(WriteLegacyGameDirectory(GameFreeSpace2, EditionOem, "/x")); // no c:\kroy.cfg
    WriteLegacySuite(nullptr, "C:\\");
    EXPECT_FALSE(WriteLegacyGameDirectory(GameFreeSpace2, EditionOem, "/x"));

    WriteLegacySuite(nullptr);
    const std::string file = KroyDir() + "/vantorel.ini";
    EXPECT_TRUE(
        WriteLegacyGameDirectory(GameFreeSpace2, EditionOem, m_sandbox.DriveC() + "/Games/FS2/"));
    EXPECT_EQ(GetPrivateProfileStringA("FreeSpace", "FS2OEM", "", file), "C:\\Games\\FS2\\");
    EXPECT_TRUE(WriteLegacyGameDirectory(GameSummoner, EditionDemo, "/opt/summoner"));
    EXPECT_EQ(GetPrivateProfileStringA("Summoner", "S1Demo", "", file), "Z:\\opt\\summoner");
    EXPECT_FALSE(WriteLegacyGameDirectory(3, EditionFull, "/x"));
    EXPECT_FALSE(WriteLegacyGameDirectory(GameFreeSpace1, 3, "/x"));

    WriteLegacySuite(nullptr, "C:\\Missing\\Dir");
    EXPECT_TRUE(
        WriteLegacyGameDirectory(GameFreeSpace1, EditionFull, "/x")); // failed write: still true
}

} // namespace
