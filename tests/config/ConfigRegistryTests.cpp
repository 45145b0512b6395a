#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "CConfigSandbox.h"
#include "CRegistryFile.h"
#include "RegistryAccess.h"

namespace
{

constexpr RegistryRoot HKLM = RegistryRoot::HKEY_LOCAL_MACHINE;
constexpr RegistryRoot HKCU = RegistryRoot::HKEY_CURRENT_USER;
const std::string kKey = "Software\\Quillmoor\\Tests";

class ConfigRegistry : public ::testing::Test
{
protected:
    CConfigSandbox m_sandbox;
    std::string MachineFile() const { return m_sandbox.RegistryDir() + "/HKEY_LOCAL_MACHINE.reg"; }
    int CountFiles(const std::string& part) const
    {
        int n = 0;
        for (const std::string& name : CConfigSandbox::ListDir(m_sandbox.RegistryDir()))
            n += name.find(part) != std::string::npos;
        return n;
    }
};

TEST_F(ConfigRegistry, MissingStoreReadsDefaultsAndFirstWriteCreatesIt)
{
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Name"), "");
    EXPECT_EQ(ReadRegDword(HKLM, kKey, "Count", -7), -7);
    ASSERT_TRUE(WriteRegDword(HKLM, kKey, "Build", 12));
    EXPECT_EQ(
        CConfigSandbox::ReadFile(MachineFile()),
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillmoor\\Tests]\n\"Build\"=dword:0000000c\n");
    EXPECT_EQ(ReadRegDword(HKCU, kKey, "Build", 0), 0); // the roots are separate files
}

TEST_F(ConfigRegistry, NamesMatchWithoutCaseAndKeepFirstSpelling)
{
    ASSERT_TRUE(WriteRegString(HKLM, "Software\\Quillmoor\\Games Configuration", "Path", "/a"));
    ASSERT_TRUE(WriteRegString(HKLM, "SOFTWARE\\quillmoor\\GAMES configuration", "PATH", "/b"));
    EXPECT_EQ(ReadRegString(HKLM, "software\\QUILLMOOR\\games CONFIGURATION", "path"), "/b");
    const std::string text = CConfigSandbox::ReadFile(MachineFile());
    EXPECT_NE(text.find("\\Software\\Quillmoor\\Games Configuration]\n\"Path\"=\"/b\""),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("SOFTWARE"), std::string::npos);
}

TEST_F(ConfigRegistry, ValuesRoundTripWithTheirTypes)
{
    const std::string values[] = {
        "C:\\Games\\FreeSpace2\\", // a backslash right before the closing quote
        "say \"hi\" \\\" done",
        "caf\xe9 \x80 \xff",      // Windows-1252 bytes stay as they are
        "two\r\nlines\nand more", // line breaks cannot stand inside a quoted string
        "",
    };
    for (size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(WriteRegString(HKLM, kKey, "V" + std::to_string(i), values[i]));
    ASSERT_TRUE(WriteRegString(HKLM, kKey, "", "default \\ value"));
    ASSERT_TRUE(WriteRegString(HKLM, kKey, "name \"quoted\" \\", "x"));
    ASSERT_TRUE(WriteRegString(HKLM, kKey, "Zero", std::string("abc\0def", 7)));
    ASSERT_TRUE(WriteRegDword(HKLM, kKey, "N", -1));

    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(ReadRegString(HKLM, kKey, "V" + std::to_string(i)), values[i]);
    EXPECT_EQ(ReadRegString(HKLM, kKey, ""), "default \\ value");
    EXPECT_EQ(ReadRegString(HKLM, kKey, "name \"quoted\" \\"), "x");
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Zero"), "abc");
    EXPECT_EQ(ReadRegDword(HKLM, kKey, "N", 5), -1);
    EXPECT_EQ(ReadRegString(HKLM, kKey, "N"), "");
    EXPECT_EQ(ReadRegDword(HKLM, kKey, "V1", 5), 5);

    const std::string text = CConfigSandbox::ReadFile(MachineFile());
    EXPECT_NE(text.find("\"V0\"=\"C:\\\\Games\\\\FreeSpace2\\\\\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("@=\"default \\\\ value\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"N\"=dword:ffffffff\n"), std::string::npos) << text;
    CRegistryTree tree;
    EXPECT_TRUE(tree.LoadText(text, "HKEY_LOCAL_MACHINE")) << "every line must parse back";
}

TEST_F(ConfigRegistry, StringLimitOf8191BytesWithTerminatingZero)
{
    const std::string fits(8190, 'a');    // 8191 bytes with its zero
    const std::string tooLong(8191, 'b'); // 8192 bytes with its zero
    ASSERT_TRUE(WriteRegString(HKLM, kKey, "Fits", fits));
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Fits"), fits);
    // Refused rather than stored where it could not be read back; the old value stays.
    EXPECT_FALSE(WriteRegString(HKLM, kKey, "Fits", tooLong));
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Fits"), fits);

    CConfigSandbox::WriteFile(MachineFile(), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + kKey +
                                                 "]\n\"Long\"=\"" + tooLong + "\"\n\"Ok\"=\"" +
                                                 fits + "\"\n");
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Long"), "");
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Ok"), fits);
}

TEST_F(ConfigRegistry, KeyWithEmptyComponentIsRefused)
{
    EXPECT_FALSE(WriteRegDword(HKCU, "Software\\Quillmoor\\\\Settings", "X", 1));
    EXPECT_EQ(ReadRegDword(HKCU, "Software\\Quillmoor\\\\Settings", "X", 9), 9);
    EXPECT_FALSE(WriteRegString(HKCU, "", "X", "y"));
    // One trailing backslash names the key itself, as in the Windows registry.
    ASSERT_TRUE(WriteRegString(HKLM, "Software\\Quillmoor\\Vantorel Tools\\", "EXE", "/x"));
    EXPECT_EQ(ReadRegString(HKLM, "Software\\Quillmoor\\Vantorel Tools", "EXE"), "/x");
}

TEST_F(ConfigRegistry, HandEditedFileIsReadAndOtherTypesSurviveRewriting)
{
    CConfigSandbox::WriteFile(MachineFile(), "REGEDIT4\r\n\r\n"
                                             "[HKEY_LOCAL_MACHINE\\Software\\Quillmoor\\Tests]\r\n"
                                             "  \"Build\" = dword:C  \r\n"
                                             "\"Raw\"=hex:01,02,\\\r\n  03\r\n"
                                             "\"Multi\"=hex(1):61,0a,62,00\r\n");
    EXPECT_EQ(ReadRegDword(HKLM, kKey, "Build", 0), 12);
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Multi"), "a\nb");
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Raw"), "");

    ASSERT_TRUE(WriteRegDword(HKLM, kKey, "Build", 13));
    const std::string text = CConfigSandbox::ReadFile(MachineFile());
    EXPECT_NE(text.find("\"Raw\"=hex:01,02,\\\n03\n"), std::string::npos) << text;
    EXPECT_EQ(CountFiles(".bak-"), 0) << "a clean file needs no backup";
}

TEST_F(ConfigRegistry, DamagedFileIsBackedUpAndWhatParsedIsKept)
{
    const std::string damaged = "REGEDIT4\n\n"
                                "[HKEY_LOCAL_MACHINE\\Software\\Quillmoor\\Tests]\n"
                                "\"Good\"=\"kept\"\n"
                                "\"Broken\"=\"no closing quote\n"
                                "this line is no registry line\n"
                                "\"Bad\"=dword:123456789\n"
                                "[HKEY_CURRENT_USER\\Software\\Elsewhere]\n"
                                "\"Lost\"=\"wrong root\"\n"
                                "[HKEY_LOCAL_MACHINE\\Software\\Quillmoor\\Other]\n"
                                "\"Count\"=dword:00000002\n";
    CConfigSandbox::WriteFile(MachineFile(), damaged);
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Good"), "kept");
    EXPECT_EQ(ReadRegString(HKLM, "Software\\Elsewhere", "Lost"), "");

    ASSERT_TRUE(WriteRegString(HKLM, kKey, "New", "value"));
    EXPECT_EQ(ReadRegString(HKLM, kKey, "Good"), "kept");
    EXPECT_EQ(ReadRegString(HKLM, kKey, "New"), "value");
    EXPECT_EQ(ReadRegDword(HKLM, "Software\\Quillmoor\\Other", "Count", 0), 2);

    ASSERT_EQ(CountFiles("HKEY_LOCAL_MACHINE.reg.bak-"), 1);
    for (const std::string& name : CConfigSandbox::ListDir(m_sandbox.RegistryDir()))
    {
        if (name.find(".bak-") != std::string::npos)
        {
            EXPECT_EQ(CConfigSandbox::ReadFile(m_sandbox.RegistryDir() + "/" + name), damaged);
        }
    }
    // The rewritten file is clean, so later writes make no more backups.
    ASSERT_TRUE(WriteRegString(HKLM, kKey, "New", "again"));
    EXPECT_EQ(CountFiles(".bak-"), 1);
}

TEST_F(ConfigRegistry, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kCount = 1000;
    // What is tested is the locking, not the disk: on tmpfs the 2000 fsyncs cost nothing.
    struct RemovedAtEnd
    {
        std::string strPath;
        ~RemovedAtEnd()
        {
            std::error_code ec;
            std::filesystem::remove_all(strPath, ec);
        }
    } shmDir;
    std::string dir = m_sandbox.RegistryDir();
    char shm[] = "/dev/shm/orbistav-registry-XXXXXX";
    if (::mkdtemp(shm))
        dir = shmDir.strPath = shm;
    m_sandbox.SetEnv("QUILLMOOR_REGISTRY_DIR", dir.c_str());

    auto name = [](int c, int i) { return std::string(1, char('A' + c)) + std::to_string(i); };
    pid_t children[2];
    for (int c = 0; c < 2; ++c)
    {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0)
        {
            bool bOk = true;
            for (int i = 0; i < kCount; ++i)
                bOk &= WriteRegString(HKLM, kKey, name(c, i), std::to_string(c * kCount + i));
            ::_exit(bOk ? 0 : 1);
        }
    }
    for (pid_t child : children)
    {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const CRegistryTree tree = CRegistryFile(HKLM).Read();
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kCount; ++i)
        {
            const RegValue* v = tree.FindValue(kKey, name(c, i));
            ASSERT_NE(v, nullptr) << name(c, i);
            EXPECT_EQ(v->strData, std::to_string(c * kCount + i));
        }
    for (const std::string& file : CConfigSandbox::ListDir(dir))
        EXPECT_EQ(file.find(".tmp-"), std::string::npos) << "left behind: " << file;
}

} // namespace
