#include "Settings.h"

#include "ProgramLocation.h"
#include "RegistryAccess.h"
#include "SuiteAccess.h"

std::string GetProgramKey()
{
    return std::string(kSuiteKey) + "\\" + GetModuleId();
}

std::string GetSettingsKey()
{
    return GetProgramKey() + "\\Settings";
}

int32_t ReadSetting(const std::string& valueName, int32_t defaultValue)
{
    return ReadRegDword(RegistryRoot::HKEY_CURRENT_USER, GetSettingsKey(), valueName, defaultValue);
}

bool WriteSetting(const std::string& valueName, int32_t value)
{
    return WriteRegDword(RegistryRoot::HKEY_CURRENT_USER, GetSettingsKey(), valueName, value);
}

void LoadSettings(AppSettings& settings)
{
    settings.m_nSoundAutoRepeatWAV = ReadSetting(kSettingSoundAutoRepeatWAV, 1);
    settings.m_bAutoStopPreview = ReadSetting(kSettingAutoStopPreview, 1);
    settings.m_bSoundAutoPlayWAV = ReadSetting(kSettingSoundAutoPlayWAV, 1);
    settings.m_bAutoPlayANI = ReadSetting(kSettingAutoPlayANI, 1);
    settings.m_bAutoShowPCX = ReadSetting(kSettingAutoShowPCX, 1);
    settings.m_bInterfaceDisplayAsKB = ReadSetting(kSettingInterfaceDisplayAsKB, 1);
    settings.m_bInterfaceShowGrid = ReadSetting(kSettingInterfaceShowGrid, 1);
    settings.m_bPreviewOneToOne = ReadSetting(kSettingPreviewOneToOne, 0);
}
