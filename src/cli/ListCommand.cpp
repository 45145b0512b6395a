#include "ListCommand.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "CCliArchive.h"
#include "CEntryReader.h"
#include "CInputFile.h"
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

nlohmann::ordered_json IndexArray(const std::int32_t* indices, int n)
{
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (int i = 0; i < n; ++i)
        array.push_back(indices[i]);
    return array;
}

void ListJson(const CCliArchive& archive, std::ostream& out)
{
    const CORBISTAVDoc& doc = archive.Doc();
    nlohmann::ordered_json root;
    root["archive"] = archive.Path();
    root["kind"] = doc.m_nArchiveKind;
    root["complete"] = doc.IsReadComplete();
    root["warning"] = doc.IsReadComplete() ? nlohmann::ordered_json()
                                           : nlohmann::ordered_json(doc.GetReadWarning());
    root["gameDir"] = doc.m_strGameDir;

    nlohmann::ordered_json dirs = nlohmann::ordered_json::array();
    for (int d = 0; d < doc.m_nDirCount; ++d)
    {
        const ArchiveDir& dir = doc.m_dirs[d];
        nlohmann::ordered_json item;
        item["index"] = d;
        item["parent"] = dir.nParent;
        item["name"] = Cp1252ToUtf8(dir.strName);
        item["path"] = Cp1252ToUtf8(doc.GetDirPath(d));
        item["children"] = IndexArray(dir.aChildren, dir.nChildren);
        item["files"] = IndexArray(dir.aFiles.data(), dir.nFiles);
        if (doc.m_nArchiveKind == ARCHIVE_KIND_VPP)
            item["type"] = dir.nType;
        dirs.push_back(std::move(item));
    }
    root["dirs"] = std::move(dirs);

    // Whether an entry is compressed shows in its first bytes and its trailer, so they are
    // read here, for .VP-kind archives only.
    // When the archive file cannot be read the reader is never opened and every entry
    // counts as plain.
    CInputFile input;
    const bool bProbe = doc.m_nArchiveKind == ARCHIVE_KIND_VP && input.Open(doc.GetPathName());
    CEntryReader reader(input);
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (int f = 0; f < doc.m_nFileCount; ++f)
    {
        const ArchiveFile& file = doc.m_files[f];
        nlohmann::ordered_json& item = files.emplace_back(nlohmann::ordered_json{
            {"index", f},
            {"name", Cp1252ToUtf8(file.strName)},
            {"dir", file.nDir},
            {"path", Cp1252ToUtf8(doc.GetDirPath(file.nDir))},
            {"offset", file.nOffset},
            {"size", file.nSize},
            {"time", file.tTime},
            {"type", file.nType},
            {"typeName", FileTypes[file.nType].szDescription},
        });
        if (doc.m_nArchiveKind != ARCHIVE_KIND_VP)
            continue;
        const bool bIntact = bProbe && reader.Open(file, file.strName).IsOk();
        item["compressed"] = reader.IsCompressed();
        // A compressed entry whose trailer is inconsistent has no size to tell.
        if (reader.IsCompressed())
            item["uncompressedSize"] =
                bIntact ? nlohmann::ordered_json(reader.ContentSize()) : nlohmann::ordered_json();
    }
    root["files"] = std::move(files);
    // Paths as given on the command line need not be UTF-8; never fail on them.
    out << root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
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
