#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CEntryReader.h"
#include "RgbaPicture.h"

class CORBISTAVDoc;
class IByteSource;

// The file names, lower case, that a texture name of a Red Faction mesh may stand for, in the
// order they are tried: the name itself, else its base name as .tga, .vbm or .dds (mods swap
// one kind for another); then for a level's "NAME-mipN" the same for NAME, when the smaller
// copy is missing.
std::vector<std::string> V3dTextureFileNames(std::string_view name);

// The file index of the entry holding each texture a Red Faction mesh names, in any directory,
// by V3dTextureFileNames' order; -1 where there is none. Names are compared without regard to
// case.
std::vector<int> FindV3dTextures(const CORBISTAVDoc& doc, const std::vector<std::string>& names);

// One picture per name (a VBM's first frame), empty where the archive holds no such texture, it
// does not decode, or wanted (when given) says no polygon drawn uses it.
std::vector<RgbaPicture> LoadV3dTextures(const CORBISTAVDoc& doc, IByteSource& archive,
                                         const std::vector<std::string>& names,
                                         CEntryReader::Mode mode,
                                         const std::vector<bool>& wanted = {});
