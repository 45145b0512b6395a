#include "FileTypes.h"

#include "AsciiText.h"

const FileTypeRow FileTypes[FILE_TYPE_COUNT] = {
    {"***", "? <Unknown>"},
    {"pcx", "PCX graphic"},
    {"ani", "Animation"},
    {"pof", "Model"},
    {"p3d", "Modelinfo file (not used by the game)"},
    {"tbl", "Table file"},
    {"fsm", "FS1 Mission file"},
    {"fs2", "FS2 Mission file"},
    {"fsc", "FS1 Campaign file"},
    {"fc2", "FS2 Campaign file"},
    {".vf", "Font"},
    {"scc", "MS Visual SourceSafe stamp (not used by the game)"},
    {"tga", "TGA graphic"},
    {"wav", "WAV sound"},
    {"txt", "Text file"},
    {"cfg", "PXO configuration template file"},
    {"hcf", "FS2 HUD configuration"},
    {"frc", "Force Feedback config file"},
    {"neb", "Nebula data file"},
    {"s3d", "Summoner Level file"},
    {".ui", "UserInterface file"},
    {"svf", "SVF file"},
    {"vim", "VIM file"},
    {"arr", "ARR file"},
    {"v3d", "V3D file"},
    {"vbm", "VBM file"},
    {"lcf", "Summoner Level Config file"},
    {"pfg", "PFG file"},
    {"vis", "VIS file"},
    {"vaf", "VAF file"},
    {"rfx", "RFX file"},
    {"mvf", "MVF file"},
    {"peg", "PEG file"},
    {"rfl", "Red Faction Level"},
    {"v3m", "V3M file"},
    {"v3c", "Character file"},
    {"vfx", "VFX file"},
    {"rfa", "RFA file"},
    {"dds", "DDS texture"},
    {"png", "PNG graphic"},
    {"jpg", "JPG graphic"},
    {"ogg", "OGG sound"},
    {"tbm", "Modular table file"},
    {"eff", "Effect file"},
    {"lua", "Lua script"},
    {"ttf", "TrueType font"},
};

int GetFileType(std::string_view name)
{
    // Every key has exactly three characters, so a shorter name never matches.
    if (name.size() < 3)
        return FILE_TYPE_UNKNOWN;
    const std::string_view tail = name.substr(name.size() - 3);
    const char key[3] = {ToLowerAscii(tail[0]), ToLowerAscii(tail[1]), ToLowerAscii(tail[2])};
    for (int i = 1; i < FILE_TYPE_COUNT; ++i)
    {
        const char* ext = FileTypes[i].szExtension;
        if (ext[0] == key[0] && ext[1] == key[1] && ext[2] == key[2])
            return i;
    }
    return FILE_TYPE_UNKNOWN;
}

bool IsTextFileType(int nType)
{
    return (nType >= 5 && nType <= 9) || (nType >= FILE_TYPE_TXT && nType <= 16) ||
           (nType >= FILE_TYPE_TBM && nType <= FILE_TYPE_LUA);
}

bool IsOutlineFontName(std::string_view name)
{
    if (name.size() < 4)
        return false;
    const std::string tail = ToLowerAscii(std::string(name.substr(name.size() - 4)));
    return tail == ".ttf" || tail == ".otf";
}

std::string GetTypeDirName(int nType)
{
    const FileTypeRow& row = FileTypes[nType];
    std::string name = ToUpperAscii(row.szExtension);
    name += " files (";
    name += row.szDescription;
    name += ")";
    return name;
}
