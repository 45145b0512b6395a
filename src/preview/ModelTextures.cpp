#include "ModelTextures.h"

#include <algorithm>
#include <new>

#include "AsciiText.h"
#include "DdsDecoder.h"
#include "FileTypes.h"
#include "ITextureResolver.h"
#include "JpgDecoder.h"
#include "PcxDecoder.h"
#include "Picture.h"
#include "PngDecoder.h"
#include "PofTextures.h"
#include "TgaDecoder.h"

namespace
{
constexpr const char* kPofExtensions[] = {".dds", ".tga", ".png", ".jpg", ".pcx"};

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

Result DecodeRgbTexture(const DecodedPicture& old, RgbaPicture& picture)
{
    const std::vector<std::uint8_t> rgb = PictureToRgb(old);
    if (rgb.empty())
        return Result::Fail("not a picture");
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
    return Result::Ok();
}
} // namespace

std::vector<std::string> PofTextureCandidates(std::string_view name)
{
    std::string base = ToLowerAscii(std::string(name));
    for (const char* szExtension : kPofExtensions)
        if (EndsWith(base, szExtension))
            base.resize(base.size() - 4);
    if (base.empty())
        return {};
    std::vector<std::string> names;
    for (const char* szExtension : kPofExtensions)
        names.push_back(base + szExtension);
    return names;
}

Result DecodeTexture(std::string_view fileName, std::span<const std::uint8_t> bytes,
                     RgbaPicture& picture)
{
    switch (GetFileType(fileName))
    {
    case FILE_TYPE_DDS:
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
    case FILE_TYPE_PNG:
        return DecodePng(bytes, picture);
    case FILE_TYPE_JPG:
        return DecodeJpg(bytes, picture);
    case FILE_TYPE_PCX:
    case FILE_TYPE_TGA:
    {
        DecodedPicture old;
        const Result r =
            GetFileType(fileName) == FILE_TYPE_PCX ? DecodePcx(bytes, old) : DecodeTga(bytes, old);
        return r ? DecodeRgbTexture(old, picture) : r;
    }
    default:
        return Result::Fail("not a texture");
    }
}

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
            try
            {
                std::vector<std::uint8_t> bytes;
                if (ReadEntrySource(source, bytes) && DecodeTexture(candidate, bytes, textures[i]))
                    break;
            }
            catch (const std::bad_alloc&)
            {
            }
            textures[i] = RgbaPicture();
            // The first entry of the name is the one the game takes, readable or not.
            break;
        }
    }
    return textures;
}
