#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CEntryReader.h"
#include "RgbaPicture.h"

class CORBISTAVDoc;
class IByteSource;

// Sides above this take a smaller mip level of a DDS texture: a preview never draws a texture
// finer than its own picture, and a ship's 4096x4096 maps would cost 64 MiB each.
constexpr int kMostPofTextureSide = 1024;

// The file names, lower case, that a model's texture name may stand for, in the order they are
// tried: the name with any picture extension dropped, then .dds, .tga, .png, .jpg, .pcx.
std::vector<std::string> PofTextureFileNames(std::string_view name);

// The file index of the entry holding the texture a model names: "<name>.dds", else .tga,
// .png, .jpg, .pcx, in any directory, compared without regard to case; -1 when there is none.
int FindPofTexture(const CORBISTAVDoc& doc, std::string_view name);
// The same for every name of a model's list, in one pass over the archive's files, so a list
// of thousands of names costs no more than reading it.
std::vector<int> FindPofTextures(const CORBISTAVDoc& doc, const std::vector<std::string>& names);

// The picture of one texture entry of a picture kind (DDS within kMostPofTextureSide, TGA, PNG,
// JPG, PCX, a VBM's first frame); empty when it does not decode.
RgbaPicture LoadTextureEntry(IByteSource& archive, const ArchiveFile& file,
                             CEntryReader::Mode mode);

// One picture per file index, empty where the index is -1, the entry does not decode, or
// wanted (when given) says no polygon drawn uses it.
std::vector<RgbaPicture> LoadTextureEntries(const CORBISTAVDoc& doc, IByteSource& archive,
                                            const std::vector<int>& files,
                                            CEntryReader::Mode mode,
                                            const std::vector<bool>& wanted = {});

// One picture per name, empty where the archive holds no such texture, it does not decode, or
// wanted (when given) says no polygon drawn uses it.
std::vector<RgbaPicture> LoadPofTextures(const CORBISTAVDoc& doc, IByteSource& archive,
                                         const std::vector<std::string>& names,
                                         CEntryReader::Mode mode,
                                         const std::vector<bool>& wanted = {});
