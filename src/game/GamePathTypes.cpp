#include "GamePathTypes.h"

#include <array>
#include <string>

#include "AsciiText.h"

namespace
{
const GamePathType kTypes[GAME_TYPE_COUNT] = {
    {"", "", GAME_TYPE_INVALID, false, false},
    {"", ".mve .ogg", GAME_TYPE_ROOT, false, true},
    {"data", ".cfg .txt", GAME_TYPE_ROOT, false, true},
    {"data/maps", ".pcx .ani .eff .tga .jpg .png .dds .ktx", GAME_TYPE_DATA, true, true},
    {"data/text", ".txt .net", GAME_TYPE_DATA, true, true},
    {"data/models", ".pof", GAME_TYPE_DATA, true, true},
    {"data/tables", ".tbl .tbm .lua", GAME_TYPE_DATA, true, true},
    {"data/sounds", ".wav .ogg", GAME_TYPE_DATA, true, true},
    {"data/voice", "", GAME_TYPE_DATA, false, true},
    {"data/voice/briefing", ".wav .ogg", 8, true, true},
    {"data/voice/command_briefings", ".wav .ogg", 8, true, true},
    {"data/voice/debriefing", ".wav .ogg", 8, true, true},
    {"data/voice/personas", ".wav .ogg", 8, true, true},
    {"data/voice/special", ".wav .ogg", 8, true, true},
    {"data/voice/training", ".wav .ogg", 8, true, true},
    {"data/music", ".wav .ogg", GAME_TYPE_DATA, true, true},
    {"data/movies", ".mve .msb .ogg .mp4 .srt .webm .png", GAME_TYPE_DATA, true, true},
    {"data/interface", ".pcx .ani .dds .tga .eff .png .jpg .rml .rcss .ktx", GAME_TYPE_DATA, true,
     true},
    {"data/fonts", ".vf .ttf .otf", GAME_TYPE_DATA, true, true},
    {"data/effects", ".ani .eff .pcx .neb .tga .jpg .png .dds .ktx .sdr .vert .frag .glsl",
     GAME_TYPE_DATA, true, true},
    {"data/hud", ".pcx .ani .eff .tga .jpg .png .dds .ktx", GAME_TYPE_DATA, true, true},
    {"data/players", ".hcf", GAME_TYPE_DATA, false, true},
    {"data/players/images", ".pcx .png .dds .ktx", 21, true, true},
    {"data/players/squads", ".pcx .png .dds .ktx", 21, true, true},
    {"data/players/single", ".pl2 .cs2 .plr .csg .css .json", 21, false, false},
    {"data/players/multi", ".plr .json", 21, false, false},
    {"data/players/presets", ".json", 21, false, true},
    {"data/cache", ".clr .tmp .bx", GAME_TYPE_DATA, true, true},
    {"data/multidata", ".pcx .png .jpg .dds .fs2 .txt .ktx", GAME_TYPE_DATA, true, true},
    {"data/missions", ".fs2 .fc2 .ntl .ssv", GAME_TYPE_DATA, true, true},
    {"data/config", ".cfg .tbl .tbm .xml .csv", GAME_TYPE_DATA, true, true},
    {"data/demos", ".fsd", GAME_TYPE_DATA, true, true},
    {"data/cbanims", ".pcx .ani .eff .tga .jpg .png .dds .ktx", GAME_TYPE_DATA, true, true},
    {"data/intelanims", ".pcx .ani .eff .tga .jpg .png .dds .ktx", GAME_TYPE_DATA, true, true},
    {"data/scripts", ".lua .lc .fnl", GAME_TYPE_DATA, true, true},
    {"data/fiction", ".txt", GAME_TYPE_DATA, true, true},
    {"data/freddocs", ".html .css .png .jpg", GAME_TYPE_DATA, true, true},
};
} // namespace

const GamePathType& GetGamePathType(int nType)
{
    return kTypes[nType > 0 && nType < GAME_TYPE_COUNT ? nType : GAME_TYPE_INVALID];
}

int GamePathTypeOfDir(std::string_view path)
{
    // Separators around the path do not count.
    const std::size_t nStart = path.find_first_not_of('/');
    if (nStart == std::string_view::npos)
        return GAME_TYPE_ROOT;
    path = path.substr(nStart, path.find_last_not_of('/') - nStart + 1);
    // Every type folder but the root starts with "data"; archives hold thousands of
    // directories, so the rest are not tried one by one.
    if (path.size() < 4 || !EqualsNoCaseAscii(path.substr(0, 4), "data"))
        return GAME_TYPE_INVALID;
    static const auto paths = []
    {
        std::array<std::string_view, GAME_TYPE_COUNT> p{};
        for (int t = 0; t < GAME_TYPE_COUNT; ++t)
            p[t] = kTypes[t].szPath;
        return p;
    }();
    int nBest = GAME_TYPE_INVALID;
    for (int t = GAME_TYPE_DATA; t < GAME_TYPE_COUNT; ++t)
    {
        const std::string_view typePath = paths[t];
        if (t == GAME_TYPE_DATA)
        {
            // No unknown folder directly below data: only the exact name, case and all.
            if (path == typePath)
                nBest = t;
            continue;
        }
        if (path.size() >= typePath.size() &&
            EqualsNoCaseAscii(path.substr(0, typePath.size()), typePath))
            nBest = t;
    }
    return nBest;
}

std::string_view GameSubPathStart(std::string_view path, int nType)
{
    const std::size_t nLength = std::string_view(GetGamePathType(nType).szPath).size();
    if (nType <= GAME_TYPE_DATA || path.size() <= nLength)
        return {};
    return path.substr(nLength + 1);
}

bool IsGameExtensionLoaded(int nType, std::string_view extension)
{
    // The engine copies the extension into a 128-byte buffer; a longer one is never real.
    if (extension.size() >= 128)
        return false;
    return std::string_view(GetGamePathType(nType).szExtensions).find(ToLowerAscii(extension)) !=
           std::string_view::npos;
}

bool IsCriticalGameType(int nType)
{
    return nType == GAME_TYPE_TABLES || nType == GAME_TYPE_MISSIONS;
}
