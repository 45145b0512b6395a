#pragma once

#include <cstdint>
#include <string>

// Registry value names of the seven settings.
inline constexpr const char* kSettingSoundAutoRepeatWAV = "SoundAutoRepeatWAV";
inline constexpr const char* kSettingAutoStopPreview = "AutoStopPreview";
inline constexpr const char* kSettingSoundAutoPlayWAV = "SoundAutoPlayWAV";
inline constexpr const char* kSettingAutoPlayANI = "AutoPlayANI";
inline constexpr const char* kSettingAutoShowPCX = "AutoShowPCX";
inline constexpr const char* kSettingInterfaceDisplayAsKB = "InterfaceDisplayAsKB";
inline constexpr const char* kSettingInterfaceShowGrid = "InterfaceShowGrid";
// View > 1:1 from the top-left: pictures larger than the pane scroll instead of being fitted.
inline constexpr const char* kSettingPreviewOneToOne = "PreviewOneToOne";

// The settings as the application holds them; consumers read these, never the registry.
// The loop mode is 0 never, 1 music only, 2 always; any other value behaves as 0. The
// switches count as on when non-zero.
struct AppSettings
{
    int32_t m_nSoundAutoRepeatWAV = 1;
    int32_t m_bAutoStopPreview = 1;
    int32_t m_bSoundAutoPlayWAV = 1;
    int32_t m_bAutoPlayANI = 1;
    int32_t m_bAutoShowPCX = 1;
    int32_t m_bInterfaceDisplayAsKB = 1;
    int32_t m_bInterfaceShowGrid = 1;
    int32_t m_bPreviewOneToOne = 0;
};

// "Software\Quillmoor\" + module id + "\Settings", formed anew on every call. Without a
// module id the path has an empty component, which the store refuses: settings then read
// as their defaults and writes fail.
std::string GetSettingsKey();
// "Software\Quillmoor\" + module id: the key the program's own keys live below.
std::string GetProgramKey();

int32_t ReadSetting(const std::string& valueName, int32_t defaultValue);
bool WriteSetting(const std::string& valueName, int32_t value);

// Reads the seven settings, each with the default 1, and the View setting (default 0) into
// settings.
void LoadSettings(AppSettings& settings);
