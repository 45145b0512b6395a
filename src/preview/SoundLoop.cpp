#include "SoundLoop.h"

#include <array>

#include "AsciiText.h"

namespace
{
bool IsMusicSound(const std::string& strDirPath, const std::string& strName,
                  const std::string& strArchivePath)
{
    static const std::array<const char*, 4> kMusicNames = {"title_music.wav", "Lenele (Sewers).wav",
                                                           "lenele(slumdock).wav", "forestday.wav"};
    if (ToLowerAscii(strDirPath) == "\\data\\music")
        return true;
    for (const char* szName : kMusicNames)
        if (strName == szName)
            return true;
    return ToLowerAscii(strArchivePath).find("music.vpp") != std::string::npos;
}
} // namespace

bool ShouldLoopSound(std::int32_t nLoopMode, const std::string& strDirPath,
                     const std::string& strName, const std::string& strArchivePath)
{
    switch (nLoopMode)
    {
    case SOUND_LOOP_ALWAYS:
        return true;
    case SOUND_LOOP_MUSIC_ONLY:
        return IsMusicSound(strDirPath, strName, strArchivePath);
    default:
        return false;
    }
}
