#pragma once

#include <cstdint>
#include <string>

// The values of the SoundAutoRepeatWAV setting; any other value plays once.
enum SoundLoopMode : std::int32_t
{
    SOUND_LOOP_NEVER = 0,
    SOUND_LOOP_MUSIC_ONLY = 1,
    SOUND_LOOP_ALWAYS = 2,
};

// Whether a sound repeats endlessly under the given loop mode. Music is what lies in
// \data\music (any case), the games' four music files by their exact names, or anything in an
// archive whose path contains "music.vpp" (any case). strDirPath is the entry's archive
// directory path, empty for the root.
bool ShouldLoopSound(std::int32_t nLoopMode, const std::string& strDirPath,
                     const std::string& strName, const std::string& strArchivePath);
