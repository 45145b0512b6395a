#pragma once

#include <string>
#include <vector>

#include "CEntryReader.h"
#include "RgbaPicture.h"

class CORBISTAVDoc;
class IByteSource;

// The file index of the entry holding each texture a Red Faction mesh names, -1 where there is
// none: the named file in any directory, else the same base name as .tga, .vbm or .dds (mods
// swap one kind for another); a level's "NAME-mipN" texture falls back to NAME when the
// archive has no smaller copy. Names are compared without regard to case.
std::vector<int> FindV3dTextures(const CORBISTAVDoc& doc, const std::vector<std::string>& names);

// One picture per name (a VBM's first frame), empty where the archive holds no such texture, it
// does not decode, or wanted (when given) says no polygon drawn uses it.
std::vector<RgbaPicture> LoadV3dTextures(const CORBISTAVDoc& doc, IByteSource& archive,
                                         const std::vector<std::string>& names,
                                         CEntryReader::Mode mode,
                                         const std::vector<bool>& wanted = {});
