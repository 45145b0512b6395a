#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "CConfigSandbox.h"
#include "IniAccess.h"

namespace
{

class ConfigIni : public ::testing::Test
{
protected:
    CConfigSandbox m_sandbox;
    std::string File() const { return m_sandbox.Root() + "/vantorel.ini"; }
    std::string Read(const std::string& section, const std::string& key, int nSize = kIniBufferSize)
    {
        return GetPrivateProfileStringA(section, key, "<default>", File(), nSize);
    }
};

TEST_F(ConfigIni, ReadsWithProfileRules)
{
    CConfigSandbox::WriteFile(File(), "orphan=before any section\r\n"
                                      "[FreeSpace]\r\n"
                                      "  FS2Full  =   C:\\Games\\FreeSpace2   \r\n"
                                      "FS1Full=\"C:\\Program Files\\FS\"\r\n"
                                      "FS1OEM=\r\n"
                                      "FS2Full=the first one counts\r\n"
                                      "Long=" +
                                          std::string(9000, 'x') +
                                          "\r\n"
                                          "[ Summoner ]\n"
                                          "S1Full=/games/summoner\n"
                                          "[freespace]\n"
                                          "FS2Demo=in a later section of the same name\n");
    EXPECT_EQ(Read("FREESPACE", "fs2full"), "C:\\Games\\FreeSpace2");
    EXPECT_EQ(Read("FreeSpace", "FS1Full"), "C:\\Program Files\\FS");
    EXPECT_EQ(Read("FreeSpace", "FS1OEM"), "");
    EXPECT_EQ(Read("Summoner", "S1Full"), "/games/summoner");
    EXPECT_EQ(Read("FreeSpace", "FS2Demo"), "<default>");
    EXPECT_EQ(Read("FreeSpace", "orphan"), "<default>");
    EXPECT_EQ(Read("Descent", "D1Full"), "<default>");
    EXPECT_EQ(GetPrivateProfileStringA("A", "B", "dflt", m_sandbox.Root() + "/missing.ini"),
              "dflt");
    // A pipe in the file's place is no file to wait on.
    const std::string pipe = m_sandbox.Root() + "/pipe.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(GetPrivateProfileStringA("A", "B", "dflt", pipe), "dflt");
    // Cut to the buffer, the default as well.
    EXPECT_EQ(Read("FreeSpace", "Long").size(), 8190u);
    EXPECT_EQ(Read("Summoner", "S1Full", 4), "/ga");
    EXPECT_EQ(Read("Summoner", "Missing", 4), "<de");
}

TEST_F(ConfigIni, DollarSentinelReadsAsEmpty)
{
    CConfigSandbox::WriteFile(File(), "[Module]\nDesc=$\nVers=$$\n");
    EXPECT_EQ(GetIniString("Module", "Desc", File()), "");
    EXPECT_EQ(GetIniString("Module", "Vers", File()), "$$");
    EXPECT_EQ(GetIniString("Module", "Coder", File()), "");
    EXPECT_EQ(GetIniString("Module", "Desc", m_sandbox.Root() + "/none.dat"), "");
}

TEST_F(ConfigIni, WriteCreatesFileAndSectionAndReplacesKeysInPlace)
{
    ASSERT_TRUE(WritePrivateProfileStringA("FreeSpace", "FS2OEM", "C:\\FS2", File()));
    EXPECT_EQ(CConfigSandbox::ReadFile(File()), "[FreeSpace]\r\nFS2OEM=C:\\FS2\r\n");

    const std::string before = "; written by Kroy 3\n"
                               "[FreeSpace]\n"
                               "   fs2full = C:\\Old   \n"
                               "FS1Full=C:\\FS1\n"
                               "\n"
                               "[Summoner]\n"
                               "S1Full=C:\\S1"; // no line end at the end of the file
    CConfigSandbox::WriteFile(File(), before);
    ASSERT_TRUE(WritePrivateProfileStringA("FREESPACE", "FS2Full", "C:\\New", File()));
    std::string expected = before;
    expected.replace(expected.find("fs2full = C:\\Old   "), 19, "fs2full=C:\\New");
    EXPECT_EQ(CConfigSandbox::ReadFile(File()), expected);

    // A new key goes at the end of its section, before the blank line.
    ASSERT_TRUE(WritePrivateProfileStringA("FreeSpace", "FS1Demo", "C:\\Demo", File()));
    expected.insert(expected.find("FS1Full=C:\\FS1\n") + 15, "FS1Demo=C:\\Demo\n");
    EXPECT_EQ(CConfigSandbox::ReadFile(File()), expected);
    ASSERT_TRUE(WritePrivateProfileStringA("Summoner", "S1Demo", "C:\\SD", File()));
    expected += "\nS1Demo=C:\\SD\n";
    EXPECT_EQ(CConfigSandbox::ReadFile(File()), expected);
}

TEST_F(ConfigIni, WriteRefusesWhatWouldBreakTheLines)
{
    CConfigSandbox::WriteFile(File(), "[S]\nK=v\n");
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "a\r\n[Evil]\r\nX=1", File()));
    EXPECT_FALSE(WritePrivateProfileStringA("S]x", "K", "v", File()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K=", "v", File()));
    EXPECT_EQ(CConfigSandbox::ReadFile(File()), "[S]\nK=v\n");
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "v", m_sandbox.Root() + "/no/dir/x.ini"));
}

} // namespace
