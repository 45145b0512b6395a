#include "RenderCommand.h"

#include <iostream>
#include <vector>

#include "AniDecoder.h"
#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "EntrySelection.h"
#include "ExitCodes.h"
#include "FileIo.h"
#include "FileTypes.h"
#include "PcxDecoder.h"
#include "PngEncoder.h"
#include "TgaDecoder.h"

namespace
{
int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}

Result Decode(const ArchiveFile& file, const std::vector<std::uint8_t>& bytes, int nFrame,
              DecodedPicture& picture)
{
    if (file.nType == FILE_TYPE_ANI)
        return DecodeAniPicture(bytes, nFrame, picture);
    if (nFrame != 1)
        return Result::Fail("a still picture has 1 frame, not " + std::to_string(nFrame));
    return file.nType == FILE_TYPE_PCX ? DecodePcx(bytes, picture) : DecodeTga(bytes, picture);
}
} // namespace

int RenderEntry(const CCliArchive& archive, const RenderOptions& options)
{
    const CORBISTAVDoc& doc = archive.Doc();
    int nFile = 0;
    if (Result r = FindSingleEntry(archive, options.strEntry, nFile); !r)
        return Fail(r.Text());

    const ArchiveFile& file = doc.m_files[nFile];
    const std::string label = CEntryExtractor::ArchivePathOf(doc, nFile);
    if (file.nType != FILE_TYPE_PCX && file.nType != FILE_TYPE_TGA && file.nType != FILE_TYPE_ANI)
        return Fail(label + ": not a picture (only PCX, TGA and ANI entries are rendered)");

    CInputFile input;
    if (Result r = input.Open(doc.GetPathName()); !r)
        return Fail(r.Text());
    std::vector<std::uint8_t> bytes;
    if (Result r = ReadEntryContent(input, file, label, bytes, CEntryReader::ModeFor(doc, false));
        !r)
        return Fail(r.Text());

    DecodedPicture picture;
    if (Result r = Decode(file, bytes, options.nFrame, picture); !r)
        return Fail(label + ": " + r.Text());
    std::string png;
    if (Result r = EncodePng(picture.nWidth, picture.nHeight, PictureToRgb(picture), png); !r)
        return Fail(label + ": " + r.Text());
    if (Result r = WriteFileAtomically(options.strOutput, png); !r)
        return Fail(r.Text());
    return archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
}
