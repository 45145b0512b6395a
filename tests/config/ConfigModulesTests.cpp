#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CConfigSandbox.h"
#include "LegacyConfiguration.h"
#include "ModuleRegistry.h"
#include "SuiteAccess.h"

namespace
{

class ConfigModules : public ::testing::Test
{
protected:
    CConfigSandbox m_sandbox;

    // c:\kroy.cfg naming C:\Kroy and its kroy.ini with the given module sections.
    void WriteLegacyModules(const std::string& kroyIni)
    {
        CConfigSandbox::WriteFile(m_sandbox.DriveC() + "/kroy.cfg",
                                  "[Directories]\r\nKroy3=C:\\Kroy\r\n");
        CConfigSandbox::WriteFile(m_sandbox.DriveC() + "/Kroy/kroy.ini", kroyIni);
    }
};

TEST(ConfigBuildNumber, ParsedAfterTheMarkerWithItsSpace)
{
    EXPECT_EQ(ParseBuildNumber("2.0 beta (Build 12)"), 12);
    EXPECT_EQ(ParseBuildNumber("2.0 (Build 12 )"), 12);
    EXPECT_EQ(ParseBuildNumber("2.0"), 0);
    EXPECT_EQ(ParseBuildNumber("2.0 Build 7"), 7);
    EXPECT_EQ(ParseBuildNumber("2.0 Build7"), 0);
    EXPECT_EQ(ParseBuildNumber("2.0 build 7"), 0);
    EXPECT_EQ(ParseBuildNumber("Build 3 (Build 4)"), 3);
    EXPECT_EQ(ParseBuildNumber("Build 99999999999999"), 2147483647);
}

TEST_F(ConfigModules, RegisterModuleRecordsTheRunningProgram)
{
    m_sandbox.WriteModuleInfo("Vantorel ORBISTAV", "2.0 beta (Build 12)");
    RegisterModule();
    const std::string key = "\\Vantorel Tools\\Vantorel ORBISTAV";
    EXPECT_EQ(ReadSuiteString(key, "Path"), m_sandbox.ProgramDir() + "/");
    EXPECT_EQ(ReadSuiteString(key, "EXE"), m_sandbox.ProgramPath());
    EXPECT_EQ(ReadSuiteString(key, "EXEName"), "orbistav");
    EXPECT_EQ(ReadSuiteString(key, "Version"), "2.0 beta (Build 12)");
    EXPECT_EQ(ReadSuiteDword(key, "Build", -1), 12);
    EXPECT_EQ(ReadSuiteString(key, "Date"), "2024-03-01");
    EXPECT_EQ(ReadSuiteString(key, "Coder"), "Quillmoor");

    // Without module information the values go into "\Vantorel Tools" itself.
    std::remove((m_sandbox.ProgramDir() + "/vx_modul.dat").c_str());
    RegisterModule();
    EXPECT_EQ(ReadSuiteString("\\Vantorel Tools", "EXE"), m_sandbox.ProgramPath());
    EXPECT_EQ(ReadSuiteDword("\\Vantorel Tools", "Build", -1), 0);
}

TEST_F(ConfigModules, DeletedRegisteredExecutableFallsThroughToLegacyFile)
{
    const std::string exe = m_sandbox.Root() + "/tools/hullglass";
    CConfigSandbox::WriteFile(exe, "");
    ASSERT_TRUE(WriteSuiteString("\\Vantorel Tools\\Vantorel HULLGLASS", "EXE", exe));
    const std::string legacyExe = m_sandbox.DriveC() + "/Kroy/HullGlass/hullgls.exe";
    CConfigSandbox::WriteFile(legacyExe, "");
    WriteLegacyModules("[Moduls_Dirs]\r\nHULLGLS=C:\\Kroy\\HullGlass\r\nREELSMT=$\r\n"
                       "[Moduls_EXEs]\r\nHULLGLS=HULLGLS.EXE\r\nREELSMT=reelsmt.exe\r\n");

    EXPECT_EQ(FindModuleExecutable("Vantorel HULLGLASS", "HULLGLS"), exe);
    std::remove(exe.c_str());
    EXPECT_EQ(FindModuleExecutable("Vantorel HULLGLASS", "HULLGLS"), legacyExe);
    EXPECT_EQ(FindModuleExecutable("Vantorel HULLGLASS", ""), "");
    EXPECT_EQ(FindModuleExecutable("", "REELSMT"), ""); // "$" reads as no directory
    std::remove(legacyExe.c_str());
    EXPECT_EQ(FindModuleExecutable("", "HULLGLS"), "");
}

TEST_F(ConfigModules, FindLegacyModuleDoesNotCheckThatTheProgramExists)
{
    EXPECT_EQ(FindLegacyModule("NAVPRIMER"), "");
    WriteLegacyModules("[Moduls_Dirs]\r\nNAVPRIMER=C:\r\nORBISTAV=C:\\Kroy\\Orbistav\r\n"
                       "[Moduls_EXEs]\r\nNAVPRIMER=tutor.exe\r\n");
    EXPECT_EQ(GetLegacyModuleFile(), m_sandbox.DriveC() + "/Kroy/kroy.ini");
    // "C:" + "tutor.exe" is C:tutor.exe, at the top of drive C.
    EXPECT_EQ(FindLegacyModule("NAVPRIMER"), m_sandbox.DriveC() + "/tutor.exe");
    EXPECT_EQ(FindLegacyModule("ORBISTAV"), m_sandbox.DriveC() + "/Kroy/Orbistav/");
    EXPECT_EQ(FindLegacyModule("HULLGLS"), "");
}

} // namespace
