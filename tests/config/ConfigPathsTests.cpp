#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CConfigSandbox.h"
#include "GameDirectories.h"
#include "LegacyDriveMapping.h"
#include "PathOperations.h"

namespace
{

class ConfigPaths : public ::testing::Test
{
protected:
    CConfigSandbox m_sandbox;
};

TEST_F(ConfigPaths, TrailingSeparatorAndJoin)
{
    EXPECT_EQ(EnsureTrailingBackslash(""), "");
    EXPECT_EQ(EnsureTrailingBackslash("/games"), "/games/");
    EXPECT_EQ(EnsureTrailingBackslash("/games/"), "/games/");
    EXPECT_EQ(EnsureTrailingBackslash("C:\\Games"), "C:\\Games\\");
    EXPECT_EQ(EnsureTrailingBackslash("C:\\Games\\"), "C:\\Games\\");

    EXPECT_EQ(JoinPath("C:", "kroy.ini"), "C:kroy.ini");
    EXPECT_EQ(JoinPath("C:\\Legacy", "kroy.ini"), "C:\\Legacy\\kroy.ini");
    EXPECT_EQ(JoinPath("C:\\Legacy\\", "kroy.ini"), "C:\\Legacy\\kroy.ini");
    EXPECT_EQ(JoinPath("", "tutor.exe"), "tutor.exe");
    EXPECT_EQ(JoinPath("/opt/kroy", "kroy.ini"), "/opt/kroy/kroy.ini");
    EXPECT_EQ(JoinPath("/", "kroy.ini"), "/kroy.ini");
}

TEST_F(ConfigPaths, LegacyPathsMapIntoDriveCWithoutRegardToCase)
{
    const std::string c = m_sandbox.DriveC();
    CConfigSandbox::WriteFile(c + "/Kroy/vantorel.ini", "");
    CConfigSandbox::WriteFile(c + "/KROY.CFG", "");

    EXPECT_EQ(MapLegacyPath("C:\\KROY\\Vantorel.ini"), c + "/Kroy/vantorel.ini");
    EXPECT_EQ(MapLegacyPath("c:\\kroy.cfg"), c + "/KROY.CFG");
    EXPECT_EQ(MapLegacyPath("c:/kroy/VANTOREL.INI"), c + "/Kroy/vantorel.ini");
    EXPECT_EQ(MapLegacyPath("C:\\kroy\\New Dir\\File.TXT"), c + "/Kroy/New Dir/File.TXT");
    EXPECT_EQ(MapLegacyPath("C:\\Games\\FS2\\"), c + "/Games/FS2/");
    EXPECT_EQ(MapLegacyPath("\\Kroy"), c + "/Kroy");
    EXPECT_EQ(MapLegacyPath("C:\\..\\..\\etc\\passwd"), c + "/etc/passwd"); // never above the drive
    EXPECT_EQ(MapLegacyPath("Z:\\games\\fs2"), "/games/fs2");
    EXPECT_EQ(MapLegacyPath("/games/fs2"), "/games/fs2");

    m_sandbox.SetEnv("VANTOREL_DRIVE_C", nullptr);
    m_sandbox.SetEnv("WINEPREFIX", "/srv/prefix/");
    EXPECT_EQ(GetDriveCDirectory(), "/srv/prefix/drive_c");
    EXPECT_EQ(MapLegacyPath("D:\\data"), "/srv/prefix/dosdevices/d:/data");
}

TEST_F(ConfigPaths, HostPathsAreWrittenAsWineShowsThem)
{
    const std::string c = m_sandbox.DriveC();
    EXPECT_EQ(ToLegacyPath(c + "/Games/FreeSpace2/"), "C:\\Games\\FreeSpace2\\");
    EXPECT_EQ(ToLegacyPath(c), "C:\\");
    EXPECT_EQ(ToLegacyPath("/games/fs2"), "Z:\\games\\fs2");
    EXPECT_EQ(ToLegacyPath("/games/drive_c_x/../fs2"), "Z:\\games\\fs2");
    EXPECT_EQ(ToLegacyPath(c + "_other").substr(0, 3), "Z:\\");
    EXPECT_EQ(ToLegacyPath("C:\\Already"), "C:\\Already");

    // A prefix reached through a symbolic link is still drive C.
    std::filesystem::create_symlink(m_sandbox.Root() + "/wine", m_sandbox.Root() + "/link");
    m_sandbox.SetEnv("VANTOREL_DRIVE_C", (m_sandbox.Root() + "/link/drive_c").c_str());
    EXPECT_EQ(ToLegacyPath(c + "/Games"), "C:\\Games");
}

TEST_F(ConfigPaths, TempDirectoryIsNeverEmpty)
{
    m_sandbox.SetEnv("TEMP", "/var/tmp/x");
    m_sandbox.SetEnv("TMPDIR", "/ignored");
    EXPECT_EQ(GetTempDirectory(), "/var/tmp/x/");
    m_sandbox.SetEnv("TEMP", nullptr);
    EXPECT_EQ(GetTempDirectory(), "/ignored/");
    m_sandbox.SetEnv("TMPDIR", "");
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
}

} // namespace
