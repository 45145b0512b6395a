#include "RenderCommand.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

#include "AniDecoder.h"
#include "AsciiText.h"
#include "CCliArchive.h"
#include "CCliGameFolder.h"
#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "DdsDecoder.h"
#include "EntrySelection.h"
#include "ExitCodes.h"
#include "FileIo.h"
#include "FileTypes.h"
#include "JpgDecoder.h"
#include "OggDecoder.h"
#include "OutlineFont.h"
#include "PcxDecoder.h"
#include "PictureLimits.h"
#include "PngDecoder.h"
#include "PngEncoder.h"
#include "PofModel.h"
#include "PofRenderer.h"
#include "PofTextures.h"
#include "TextDecoder.h"
#include "TgaDecoder.h"
#include "V3dMesh.h"
#include "V3dTextures.h"
#include "VbmDecoder.h"
#include "VfFont.h"
#include "WavEncoder.h"
#include "WavPcm.h"

namespace
{
// Pictures for a model's texture names, empty where none is found or wanted (when given)
// says no polygon drawn uses it.
using TextureLoader = std::function<std::vector<RgbaPicture>(
    const std::vector<std::string>& names, bool bRedFaction, const std::vector<bool>& wanted)>;

enum class Kind
{
    None,
    Picture,
    Sound,
    Text,
};

int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}

Kind KindOfEntry(int nType)
{
    switch (nType)
    {
    case FILE_TYPE_PCX:
    case FILE_TYPE_ANI:
    case FILE_TYPE_TGA:
    case FILE_TYPE_DDS:
    case FILE_TYPE_PNG:
    case FILE_TYPE_JPG:
    case FILE_TYPE_POF:
    case FILE_TYPE_V3M:
    case FILE_TYPE_V3C:
    case FILE_TYPE_VBM:
    case FILE_TYPE_VF:
        return Kind::Picture;
    case FILE_TYPE_WAV:
    case FILE_TYPE_OGG:
        return Kind::Sound;
    default:
        return IsTextFileType(nType) ? Kind::Text : Kind::None;
    }
}

bool IsModel(int nType)
{
    return nType == FILE_TYPE_POF || nType == FILE_TYPE_V3M || nType == FILE_TYPE_V3C;
}

Kind KindOfOutput(const std::string& path)
{
    const std::string ext = ToLowerAscii(std::filesystem::path(path).extension().string());
    if (ext == ".png")
        return Kind::Picture;
    if (ext == ".wav")
        return Kind::Sound;
    return ext == ".txt" ? Kind::Text : Kind::None;
}

const char* KindName(Kind kind)
{
    switch (kind)
    {
    case Kind::Picture:
        return "a picture, which renders to .png";
    case Kind::Sound:
        return "a sound, which renders to .wav";
    case Kind::Text:
        return "text, which renders to .txt";
    default:
        return "nothing the preview shows";
    }
}

// What the pane shows of the older kinds: red, green, blue without alpha.
Result RenderOldPicture(int nType, const std::vector<std::uint8_t>& bytes, int nFrame,
                        std::string& png)
{
    DecodedPicture picture;
    Result r;
    if (nType == FILE_TYPE_ANI)
        r = DecodeAniPicture(bytes, nFrame, picture);
    else if (nFrame != 1)
        return Result::Fail("a still picture has 1 frame, not " + std::to_string(nFrame));
    else
        r = nType == FILE_TYPE_PCX ? DecodePcx(bytes, picture) : DecodeTga(bytes, picture);
    if (!r)
        return r;
    return EncodePng(picture.nWidth, picture.nHeight, PictureToRgb(picture), png);
}

// A VBM frame with its alpha as stored: colours are not premultiplied, so the colour under a
// transparent pixel survives.
Result RenderVbm(const std::vector<std::uint8_t>& bytes, const RenderOptions& options,
                 RgbaPicture& picture)
{
    VbmAnimation vbm;
    if (Result r = DecodeVbm(bytes, vbm); !r)
        return r;
    return VbmFrameRgba(vbm, options.nFrame - 1, options.nMip, VbmAlphaInvertedByDefault(vbm),
                        picture);
}

Result RenderFont(const std::vector<std::uint8_t>& bytes, RgbaPicture& picture)
{
    VfFont font;
    if (Result r = DecodeVf(bytes, font); !r)
        return r;
    return RenderFontSheet(font, picture);
}

// What the desktop draws with Qt, drawn here by FreeType in the same layout as a VF font.
Result RenderOutlineFont(const std::vector<std::uint8_t>& bytes, const RenderOptions& options,
                         std::string& out)
{
    if (options.nFrame != 1 || options.nMip != 0 || options.nFace != 0)
        return Result::Fail("a font has no frames, mip levels or faces");
    RgbaPicture picture;
    if (Result r = RenderOutlineFontSheet(bytes, picture); !r)
        return r;
    return EncodePng(picture.nWidth, picture.nHeight, picture.rgba, out, 4);
}

Result RenderPicture(int nType, const std::vector<std::uint8_t>& bytes,
                     const RenderOptions& options, std::string& out)
{
    if (options.nFace != 0 && nType != FILE_TYPE_DDS)
        return Result::Fail("only a DDS texture has mip levels and faces");
    if (options.nMip != 0 && nType != FILE_TYPE_DDS && nType != FILE_TYPE_VBM)
        return Result::Fail("only a DDS texture or a VBM has mip levels");
    if (nType == FILE_TYPE_PCX || nType == FILE_TYPE_TGA || nType == FILE_TYPE_ANI)
        return RenderOldPicture(nType, bytes, options.nFrame, out);
    RgbaPicture picture;
    Result r;
    if (nType == FILE_TYPE_VBM)
        r = RenderVbm(bytes, options, picture);
    else if (options.nFrame != 1)
        return Result::Fail("a still picture has 1 frame, not " + std::to_string(options.nFrame));
    else if (nType == FILE_TYPE_VF)
        r = RenderFont(bytes, picture);
    else if (nType == FILE_TYPE_DDS)
        r = DecodeDds(bytes, options.nMip, options.nFace, picture);
    else if (nType == FILE_TYPE_PNG)
        r = DecodePng(bytes, picture);
    else
        r = DecodeJpg(bytes, picture);
    if (!r)
        return r;
    return EncodePng(picture.nWidth, picture.nHeight, picture.rgba, out, 4);
}

// "640x480": both sides within what any picture may have.
Result ParseSize(const std::string& text, int& nWidth, int& nHeight)
{
    const std::size_t nX = text.find_first_of("xX");
    const auto side = [](const std::string& digits, int& n)
    {
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        n = std::stoi(digits);
        return n > 0;
    };
    if (nX == std::string::npos || !side(text.substr(0, nX), nWidth) ||
        !side(text.substr(nX + 1), nHeight) || !IsPictureSizeAllowed(nWidth, nHeight))
        return Result::Fail("--size " + text + ": give WIDTHxHEIGHT, each side 1 to " +
                            std::to_string(kMostPictureSide));
    return Result::Ok();
}

// The model as the pane draws it, with the textures its loader finds.
Result RenderModel(int nType, const std::vector<std::uint8_t>& bytes, const TextureLoader& load,
                   const RenderOptions& options, std::string& out)
{
    if (options.nFrame != 1 || options.nMip != 0 || options.nFace != 0)
        return Result::Fail("a model has no frames, mip levels or faces");
    int nWidth = 0;
    int nHeight = 0;
    if (Result r = ParseSize(options.strSize, nWidth, nHeight); !r)
        return r;
    PofView view;
    view.dYaw = options.dYaw;
    view.dPitch = options.dPitch;
    view.bWireframe = options.bWireframe;
    view.bTextures = !options.bNoTextures;
    PofMesh mesh;
    std::vector<RgbaPicture> textures;
    if (nType == FILE_TYPE_POF)
    {
        PofModel model;
        if (Result r = ParsePof(bytes, model); !r)
            return r;
        mesh = BuildPofMesh(model);
        if (view.bTextures)
            textures = load(model.textures, false, UsedTextures(mesh, model.textures.size()));
    }
    else
    {
        V3dMesh model;
        if (Result r = ParseV3d(bytes, model); !r)
            return r;
        mesh = BuildV3dMesh(model);
        const std::vector<std::string> names = model.Textures();
        if (view.bTextures)
            textures = load(names, true, UsedTextures(mesh, names.size()));
    }
    RgbaPicture picture;
    if (Result r = RenderPof(mesh, textures, view, nWidth, nHeight, picture); !r)
        return r;
    // Opaque: the background is part of the picture.
    std::vector<std::uint8_t> rgb(picture.rgba.size() / 4 * 3);
    for (std::size_t i = 0, o = 0; o < rgb.size(); i += 4, o += 3)
    {
        rgb[o] = picture.rgba[i];
        rgb[o + 1] = picture.rgba[i + 1];
        rgb[o + 2] = picture.rgba[i + 2];
    }
    return EncodePng(nWidth, nHeight, rgb, out);
}

Result RenderSound(int nType, const std::vector<std::uint8_t>& bytes, std::string& out)
{
    PcmSound sound;
    const Result r = nType == FILE_TYPE_OGG ? DecodeOggToPcm16(bytes, sound)
                                                 : DecodeWavToPcm16(bytes, sound);
    if (!r)
        return r;
    out = EncodeWavPcm16(sound);
    return Result::Ok();
}

// What is rendered, wherever its bytes lie: label names it in messages, read gives its
// content whole, decompressed.
int RenderContent(const std::string& label, int nType,
                  const std::function<Result(std::vector<std::uint8_t>&)>& read,
                  const TextureLoader& textures, const RenderOptions& options, int nDoneStatus)
{
    const bool bOutlineFont = IsOutlineFontName(label);
    Kind entryKind = bOutlineFont ? Kind::Picture : KindOfEntry(nType);
    const Kind outputKind = KindOfOutput(options.strOutput);
    // An entry of no known kind may still be text (a shader, a web page, a manifest): its
    // bytes decide once they are read.
    const bool bTextByContent = entryKind == Kind::None && outputKind == Kind::Text;
    if (bTextByContent)
        entryKind = Kind::Text;
    if (outputKind == Kind::None)
        return Fail(options.strOutput + ": the output must end in .png, .wav or .txt");
    if (entryKind != outputKind)
    {
        const char* szWanted = outputKind == Kind::Picture ? "not a picture"
                               : outputKind == Kind::Sound ? "not a sound"
                                                           : "not text";
        return Fail(label + ": " + szWanted + " (it is " + KindName(entryKind) + ")");
    }

    if (options.bModelView && !IsModel(nType))
        return Fail(label +
                    ": --size, --yaw, --pitch, --wireframe and --no-textures are for models");

    std::vector<std::uint8_t> bytes;
    if (Result r = read(bytes); !r)
        return Fail(r.Text());
    if (bTextByContent && DetectTextCoding(bytes) == TextCoding::NotText)
        return Fail(label + ": not text (it is " + KindName(Kind::None) + ")");

    std::string out;
    Result r;
    switch (entryKind)
    {
    case Kind::Picture:
        r = IsModel(nType)   ? RenderModel(nType, bytes, textures, options, out)
            : bOutlineFont   ? RenderOutlineFont(bytes, options, out)
                             : RenderPicture(nType, bytes, options, out);
        break;
    case Kind::Sound:
        r = RenderSound(nType, bytes, out);
        break;
    default:
        r = DecodeText(bytes, out);
        break;
    }
    if (!r)
        return Fail(label + ": " + r.Text());
    if (Result w = WriteFileAtomically(options.strOutput, out); !w)
        return Fail(w.Text());
    return nDoneStatus;
}
} // namespace

int RenderEntry(const CCliArchive& archive, const RenderOptions& options)
{
    const CORBISTAVDoc& doc = archive.Doc();
    int nFile = 0;
    if (Result r = FindSingleEntry(archive, options.strEntry, nFile); !r)
        return Fail(r.Text());
    // The model's textures are read through the archive file its content opened.
    CInputFile input;
    const auto read = [&](std::vector<std::uint8_t>& bytes)
    { return archive.ReadContent(nFile, input, bytes); };
    const TextureLoader textures =
        [&](const std::vector<std::string>& names, bool bRedFaction, const std::vector<bool>& wanted)
    {
        const CEntryReader::Mode mode = CEntryReader::ModeFor(doc, false);
        return bRedFaction ? LoadV3dTextures(doc, input, names, mode, wanted)
                           : LoadPofTextures(doc, input, names, mode, wanted);
    };
    return RenderContent(CEntryExtractor::ArchivePathOf(doc, nFile), doc.m_files[nFile].nType,
                         read, textures, options, archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL);
}

int RenderGameFile(const CCliGameFolder& folder, const RenderOptions& options)
{
    int nFile = 0;
    if (Result r = folder.FindOne(options.strEntry, nFile); !r)
        return Fail(r.Text());
    const auto read = [&](std::vector<std::uint8_t>& bytes)
    { return folder.ReadContent(nFile, bytes); };
    const TextureLoader textures =
        [&](const std::vector<std::string>& names, bool bRedFaction, const std::vector<bool>& wanted)
    { return folder.LoadTextures(folder.FindTextures(names, bRedFaction), wanted); };
    const std::string name(folder.Folder().Files()[nFile].Name());
    return RenderContent(folder.Folder().Location(nFile), GetFileType(name), read, textures,
                         options, folder.Status());
}
