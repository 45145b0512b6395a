#include "ModelTextures.h"

#include "ArchiveFile.h"
#include "CInputFile.h"
#include "FileTypes.h"
#include "ITextureResolver.h"
#include "PofTextures.h"

std::vector<RgbaPicture> LoadModelTextures(ITextureResolver& resolver,
                                           const std::vector<std::string>& names,
                                           TextureCandidates candidates,
                                           const std::vector<bool>& wanted)
{
    std::vector<RgbaPicture> textures(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        if (!wanted.empty() && (i >= wanted.size() || !wanted[i]))
            continue;
        for (const std::string& candidate : candidates(names[i]))
        {
            EntrySource source;
            if (!resolver.Find(candidate, source))
                continue;
            // The first entry of the name is the one the game takes, readable or not.
            CInputFile file;
            ArchiveFile entry;
            if (ToArchiveFile(source, entry) && file.Open(source.strPath))
            {
                entry.nType = GetFileType(entry.strName);
                textures[i] = LoadTextureEntry(file, entry, source.mode);
            }
            break;
        }
    }
    return textures;
}
