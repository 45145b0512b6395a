#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CConfigSandbox.h"
#include "ProgramLocation.h"
#include "RegistryAccess.h"
#include "Settings.h"

namespace
{

class ConfigSettings : public ::testing::Test
{
protected:
    void SetUp() override { m_sandbox.WriteModuleInfo("Vantorel ORBISTAV"); }
    CConfigSandbox m_sandbox;
};

void ExpectAll(const AppSettings& s, int32_t loop, int32_t rest)
{
    EXPECT_EQ(s.m_nSoundAutoRepeatWAV, loop);
    for (int32_t v : {s.m_bAutoStopPreview, s.m_bSoundAutoPlayWAV, s.m_bAutoPlayANI,
                      s.m_bAutoShowPCX, s.m_bInterfaceDisplayAsKB, s.m_bInterfaceShowGrid})
        EXPECT_EQ(v, rest);
}

TEST_F(ConfigSettings, EmptyStoreLoadsAllDefaults)
{
    AppSettings s;
    s.m_nSoundAutoRepeatWAV = s.m_bInterfaceShowGrid = 77;
    LoadSettings(s);
    ExpectAll(s, 1, 1);
}

TEST_F(ConfigSettings, StoredValuesLoadAsTheyAre)
{
    for (const char* name : {"AutoStopPreview", "SoundAutoPlayWAV", "AutoPlayANI", "AutoShowPCX",
                             "InterfaceDisplayAsKB", "InterfaceShowGrid"})
        ASSERT_TRUE(WriteSetting(name, 0));
    // An out-of-range loop mode is kept; its consumers decide what it means.
    ASSERT_TRUE(WriteSetting("SoundAutoRepeatWAV", 5));
    AppSettings s;
    LoadSettings(s);
    ExpectAll(s, 5, 0);
    // Per user, under the program's module id, which is read anew on each access.
    EXPECT_EQ(ReadRegDword(RegistryRoot::HKEY_CURRENT_USER,
                           "Software\\Quillmoor\\Vantorel ORBISTAV\\Settings", "InterfaceShowGrid",
                           9),
              0);
    m_sandbox.WriteModuleInfo("Vantorel OTHER");
    EXPECT_EQ(ReadSetting(kSettingInterfaceShowGrid, 1), 1);
}

TEST_F(ConfigSettings, WithoutModuleInformationSettingsAreDefaultsAndNotStored)
{
    std::remove(GetModuleInfoPath().c_str());
    EXPECT_EQ(GetModuleId(), "");
    EXPECT_FALSE(WriteSetting(kSettingAutoPlayANI, 0));
    AppSettings s;
    LoadSettings(s);
    ExpectAll(s, 1, 1);
}

} // namespace
