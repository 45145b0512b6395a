#include "ListCommand.h"

#include <ostream>

#include "CCliArchive.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CJsonStream.h"
#include "CReadAheadSource.h"
#include "ExitCodes.h"
#include "FileListFormat.h"
#include "FileTypes.h"
#include "TextEncoding.h"

namespace
{
void ListText(const CORBISTAVDoc& doc, std::ostream& out)
{
    for (int f = 0; f < doc.m_nFileCount; ++f)
    {
        const ArchiveFile& file = doc.m_files[f];
        // The row text of the list's "<All files>" view.
        std::string row = file.strName;
        if (doc.m_nArchiveKind == ARCHIVE_KIND_VP)
            row += " in " + doc.GetDirPath(file.nDir);
        out << Cp1252ToUtf8(row) << '\t' << FileTypes[file.nType].szDescription << '\t'
            << file.nSize << '\t' << FormatFileTime(file.tTime) << '\n';
    }
}

void IndexArray(CJsonStream& json, const std::int32_t* indices, int n)
{
    json.BeginArray();
    for (int i = 0; i < n; ++i)
        json.Number(indices[i]);
    json.EndArray();
}

// Written as it goes: a document built first took several times the listing's own time
// and memory for a full archive.
void ListJson(const CCliArchive& archive, std::ostream& out)
{
    const CORBISTAVDoc& doc = archive.Doc();
    CJsonStream json(out);
    json.BeginObject();
    json.Key("archive").String(archive.Path());
    json.Key("kind").Number(doc.m_nArchiveKind);
    json.Key("complete").Bool(doc.IsReadComplete());
    json.Key("warning");
    if (doc.IsReadComplete())
        json.Null();
    else
        json.String(doc.GetReadWarning());
    json.Key("gameDir").String(doc.m_strGameDir);

    json.Key("dirs").BeginArray();
    for (int d = 0; d < doc.m_nDirCount; ++d)
    {
        const ArchiveDir& dir = doc.m_dirs[d];
        json.BeginObject();
        json.Key("index").Number(d);
        json.Key("parent").Number(dir.nParent);
        json.Key("name").String(Cp1252ToUtf8(dir.strName));
        json.Key("path").String(Cp1252ToUtf8(doc.GetDirPath(d)));
        json.Key("children");
        IndexArray(json, dir.aChildren, dir.nChildren);
        json.Key("files");
        IndexArray(json, dir.aFiles.data(), dir.nFiles);
        if (doc.m_nArchiveKind == ARCHIVE_KIND_VPP)
            json.Key("type").Number(dir.nType);
        json.EndObject();
    }
    json.EndArray();

    // Whether an entry is compressed shows in its first bytes and its trailer, so they are
    // read here, for .VP-kind archives only.
    // When the archive file cannot be read the reader is never opened and every entry
    // counts as plain.
    CInputFile input;
    const bool bProbe = doc.m_nArchiveKind == ARCHIVE_KIND_VP && input.Open(doc.GetPathName());
    CReadAheadSource readAhead(input);
    CEntryReader reader(readAhead);
    // A directory's path is the same for all of its files: converted once.
    std::vector<std::string> dirPaths(static_cast<std::size_t>(doc.m_nDirCount));
    for (int d = 0; d < doc.m_nDirCount; ++d)
        dirPaths[d] = Cp1252ToUtf8(doc.GetDirPath(d));
    json.Key("files").BeginArray();
    for (int f = 0; f < doc.m_nFileCount; ++f)
    {
        const ArchiveFile& file = doc.m_files[f];
        json.BeginObject();
        json.Key("index").Number(f);
        json.Key("name").String(Cp1252ToUtf8(file.strName));
        json.Key("dir").Number(file.nDir);
        json.Key("path").String(file.nDir >= 0 && file.nDir < doc.m_nDirCount
                                    ? dirPaths[file.nDir]
                                    : Cp1252ToUtf8(doc.GetDirPath(file.nDir)));
        json.Key("offset").Number(file.nOffset);
        json.Key("size").Number(file.nSize);
        json.Key("time").Number(file.tTime);
        json.Key("type").Number(file.nType);
        json.Key("typeName").String(FileTypes[file.nType].szDescription);
        if (doc.m_nArchiveKind == ARCHIVE_KIND_VP)
        {
            const bool bIntact = bProbe && reader.Open(file, file.strName).IsOk();
            json.Key("compressed").Bool(reader.IsCompressed());
            // A compressed entry whose trailer is inconsistent has no size to tell.
            if (reader.IsCompressed())
            {
                json.Key("uncompressedSize");
                if (bIntact)
                    json.Number(reader.ContentSize());
                else
                    json.Null();
            }
        }
        json.EndObject();
    }
    json.EndArray().EndObject();
    json.Finish();
}
} // namespace

int ListArchive(const CCliArchive& archive, bool bJson, std::ostream& out)
{
    if (bJson)
        ListJson(archive, out);
    else
        ListText(archive.Doc(), out);
    out.flush();
    if (!out)
        return EXIT_FAILED;
    return archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
}
