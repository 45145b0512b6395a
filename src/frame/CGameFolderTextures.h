#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "EntrySource.h"
#include "ITextureResolver.h"

class CGameFolder;

// Textures of a model shown from a game folder, found as the game finds them: across every
// archive and loose folder of the view, the first place that has the name in any picture
// kind wins, and the kinds' order (.dds .tga .png .jpg .pcx) decides only within one place.
class CGameFolderTextures : public ITextureResolver
{
public:
    // The folder stays the caller's; null forgets it.
    void SetFolder(const CGameFolder* pFolder);
    bool Find(std::string_view fileName, EntrySource& found) override;

    // Where a file's bytes lie, for the preview: its archive's entry, or the loose file as it
    // is on disk now.
    static EntrySource SourceOf(const CGameFolder& folder, int nFile);

private:
    const CGameFolder* m_pFolder = nullptr;
    // Lower-case name without extension -> the file the game takes for it.
    std::unordered_map<std::string, int> m_best;
    bool m_bIndexed = false;
};
