#include "PofTextures.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <unordered_map>

#include "AsciiText.h"
#include "CORBISTAVDoc.h"
#include "DdsDecoder.h"
#include "FileTypes.h"
#include "JpgDecoder.h"
#include "PcxDecoder.h"
#include "Picture.h"
#include "PngDecoder.h"
#include "TgaDecoder.h"
#include "VbmDecoder.h"

namespace
{
constexpr const char* kExtensions[] = {".dds", ".tga", ".png", ".jpg", ".pcx"};

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Mip 0 of a texture within the preview's size, else the first level that is.
Result DecodeDdsTexture(const std::vector<std::uint8_t>& bytes, RgbaPicture& picture)
{
    DdsInfo info;
    if (Result r = ReadDdsInfo(bytes, info); !r)
        return r;
    int nMip = 0;
    while (nMip + 1 < info.nMipCount &&
           std::max(info.nWidth >> nMip, info.nHeight >> nMip) > kMostPofTextureSide)
        ++nMip;
    return DecodeDds(bytes, nMip, 0, picture);
}

Result DecodeOldPicture(int nType, const std::vector<std::uint8_t>& bytes, RgbaPicture& picture)
{
    DecodedPicture old;
    if (Result r = nType == FILE_TYPE_PCX ? DecodePcx(bytes, old) : DecodeTga(bytes, old); !r)
        return r;
    const std::vector<std::uint8_t> rgb = PictureToRgb(old);
    picture.nWidth = old.nWidth;
    picture.nHeight = old.nHeight;
    picture.rgba.resize(rgb.size() / 3 * 4);
    for (std::size_t i = 0, o = 0; i + 2 < rgb.size(); i += 3, o += 4)
    {
        picture.rgba[o] = rgb[i];
        picture.rgba[o + 1] = rgb[i + 1];
        picture.rgba[o + 2] = rgb[i + 2];
        picture.rgba[o + 3] = 255;
    }
    // A 32-bit TGA's fourth byte is its alpha, which meshes cut holes and shape glows with;
    // its rows run from the bottom.
    if (old.nBitsPerPixel == 32 && !rgb.empty())
    {
        const auto nWidth = static_cast<std::size_t>(old.nWidth);
        const auto nHeight = static_cast<std::size_t>(old.nHeight);
        const std::size_t nStride = PictureStride(old.nWidth, 32);
        for (std::size_t y = 0; y < nHeight; ++y)
            for (std::size_t x = 0; x < nWidth; ++x)
                picture.rgba[(y * nWidth + x) * 4 + 3] =
                    old.pixels[(nHeight - 1 - y) * nStride + x * 4 + 3];
    }
    return Result::Ok();
}

// The first frame, alpha as the file's version stores it.
Result DecodeVbmTexture(const std::vector<std::uint8_t>& bytes, RgbaPicture& picture)
{
    VbmAnimation vbm;
    if (Result r = DecodeVbm(bytes, vbm); !r)
        return r;
    return VbmFrameRgba(vbm, 0, 0, VbmAlphaInvertedByDefault(vbm), picture);
}
} // namespace

RgbaPicture LoadTextureEntry(IByteSource& archive, const ArchiveFile& file, CEntryReader::Mode mode)
{
    RgbaPicture picture;
    try
    {
        std::vector<std::uint8_t> bytes;
        if (!ReadEntryContent(archive, file, file.strName, bytes, mode))
            return {};
        Result r;
        if (EndsWith(ToLowerAscii(file.strName), ".vbm"))
            r = DecodeVbmTexture(bytes, picture);
        else
            switch (file.nType)
            {
            case FILE_TYPE_DDS:
                r = DecodeDdsTexture(bytes, picture);
                break;
            case FILE_TYPE_PNG:
                r = DecodePng(bytes, picture);
                break;
            case FILE_TYPE_JPG:
                r = DecodeJpg(bytes, picture);
                break;
            default:
                r = DecodeOldPicture(file.nType, bytes, picture);
                break;
            }
        return r ? picture : RgbaPicture();
    }
    catch (const std::bad_alloc&)
    {
        return {};
    }
}

std::vector<std::string> PofTextureFileNames(std::string_view name)
{
    std::string base = ToLowerAscii(std::string(name));
    for (const char* szExtension : kExtensions)
        if (EndsWith(base, szExtension))
            base.resize(base.size() - 4);
    if (base.empty())
        return {};
    std::vector<std::string> names;
    for (const char* szExtension : kExtensions)
        names.push_back(base + szExtension);
    return names;
}

int FindPofTexture(const CORBISTAVDoc& doc, std::string_view name)
{
    return FindPofTextures(doc, {std::string(name)}).front();
}

std::vector<int> FindPofTextures(const CORBISTAVDoc& doc, const std::vector<std::string>& names)
{
    // The first entry of each lower-case name of a texture kind.
    std::unordered_map<std::string, int> entries;
    for (int i = 0; i < doc.m_nFileCount; ++i)
    {
        std::string name = ToLowerAscii(doc.m_files[i].strName);
        if (std::any_of(std::begin(kExtensions), std::end(kExtensions),
                        [&](const char* szExtension) { return EndsWith(name, szExtension); }))
            entries.emplace(std::move(name), i);
    }
    std::vector<int> found(names.size(), -1);
    for (std::size_t n = 0; n < names.size(); ++n)
    {
        for (const std::string& candidate : PofTextureFileNames(names[n]))
            if (const auto it = entries.find(candidate); it != entries.end())
            {
                found[n] = it->second;
                break;
            }
    }
    return found;
}

std::vector<RgbaPicture> LoadTextureEntries(const CORBISTAVDoc& doc, IByteSource& archive,
                                            const std::vector<int>& files,
                                            CEntryReader::Mode mode,
                                            const std::vector<bool>& wanted)
{
    std::vector<RgbaPicture> textures(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        if (files[i] >= 0 && (wanted.empty() || (i < wanted.size() && wanted[i])))
            textures[i] = LoadTextureEntry(archive, doc.m_files[files[i]], mode);
    return textures;
}

std::vector<RgbaPicture> LoadPofTextures(const CORBISTAVDoc& doc, IByteSource& archive,
                                         const std::vector<std::string>& names,
                                         CEntryReader::Mode mode, const std::vector<bool>& wanted)
{
    return LoadTextureEntries(doc, archive, FindPofTextures(doc, names), mode, wanted);
}
