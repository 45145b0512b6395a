#include "GameFolderCommands.h"

#include <cstring>
#include <optional>
#include <iostream>
#include <memory>

#include "CCliGameFolder.h"
#include "CDestinationDir.h"
#include "CDigest.h"
#include "CEntryExtractor.h"
#include "CGameFileReader.h"
#include "CJsonStream.h"
#include "ContentSinks.h"
#include "CProgressLine.h"
#include "EntryContentCommands.h"
#include "EntrySelection.h"
#include "ExitCodes.h"
#include "ExtractCommand.h"
#include "FileIo.h"
#include "FileListFormat.h"
#include "FileTypes.h"
#include "GamePathTypes.h"

namespace
{
int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}

int RefuseRaw()
{
    return Fail("--raw is for archives; a game folder gives the content the game reads");
}

// "data/maps/glass/hull.dds": where the game sees the file, which patterns match.
std::string GamePath(const GameFile& file)
{
    const std::string folder = GetGamePathType(file.nType).szPath;
    return (folder.empty() ? "" : folder + "/") + file.strSubPath + std::string(file.Name());
}

// The loaded files whose game paths match a pattern (all without patterns); a pattern
// matching nothing is told and fails.
int SelectGameFiles(const CCliGameFolder& cli, const std::vector<std::string>& patternTexts,
                    std::vector<int>& selected)
{
    const CGameFolder& folder = cli.Folder();
    const std::vector<int> loaded = folder.LoadedFiles();
    selected.clear();
    const std::vector<std::string> unmatched = MatchPaths(
        patternTexts, static_cast<int>(loaded.size()),
        [&](int n) { return GamePath(folder.Files()[loaded[n]]); }, selected);
    for (int& f : selected)
        f = loaded[f];
    int status = cli.Status();
    for (const std::string& pattern : unmatched)
        status = Fail(folder.GameDir() + ": the game loads no file matching '" + pattern + "'");
    return status;
}

void ListText(const CGameFolder& folder, std::ostream& out)
{
    for (const int f : folder.LoadedFiles())
    {
        const GameFile& file = folder.Files()[f];
        const GameSource& source = folder.Sources()[file.nSource];
        const std::string typeFolder = GetGamePathType(file.nType).szPath;
        out << file.Name() << " in " << typeFolder
            << (file.strSubPath.empty() ? "" : "/" + file.strSubPath.substr(0, file.strSubPath.size() - 1))
            << '\t' << FileTypes[GetFileType(file.Name())].szDescription << '\t' << file.nSize
            << '\t' << FormatFileTime(static_cast<std::int32_t>(file.tTime)) << '\t'
            << (source.strPath.empty() ? "." : source.strPath);
        if (const std::size_t nHidden = folder.HiddenBy(f).size(); nHidden > 0)
            out << "\thides " << nHidden;
        out << '\n';
    }
}

// The location as Location() gives it, written in pieces: one string built for each of
// tens of thousands of files was a good part of a listing's time.
void WriteLocation(CJsonStream& json, const CGameFolder& folder, int nFile)
{
    const GameFile& file = folder.Files()[nFile];
    const GameSource& source = folder.Sources()[file.nSource];
    const std::string& dir = folder.Dir(file.nDir);
    const std::string_view separator = source.bArchive ? ":" : source.strPath.empty() ? "" : "/";
    json.StringParts({source.strPath, separator, dir, dir.empty() ? "" : "/", file.strStoredName});
}

void ListJson(const CGameFolder& folder, std::ostream& out)
{
    CJsonStream json(out);
    json.BeginObject().Key("folder").String(folder.GameDir()).Key("mods").BeginArray();
    // The last root is the game folder itself.
    for (std::size_t i = 0; i + 1 < folder.Roots().size(); ++i)
        json.String(folder.Roots()[i].strMod);
    json.EndArray().Key("complete").Bool(folder.IsComplete()).Key("warnings").BeginArray();
    for (const std::string& warning : folder.Warnings())
        json.String(warning);
    json.EndArray().Key("files").BeginArray();
    // The content size of an archive entry shows in its first bytes and, when it is
    // compressed, its trailer.
    CGameFileReader reader(folder);
    for (const int f : folder.LoadedFiles())
    {
        const GameFile& file = folder.Files()[f];
        const bool bProbe = folder.Sources()[file.nSource].bArchive || file.bLz41;
        json.BeginObject()
            .Key("folder").String(GetGamePathType(file.nType).szPath)
            .Key("name").String(file.Name())
            .Key("size");
        std::int64_t nSize = file.nSize;
        if (!bProbe || reader.ContentSizeOf(f, nSize))
            json.Number(nSize);
        else
            json.Null(); // a damaged entry has no size to tell
        json.Key("time").Number(file.tTime).Key("loads");
        WriteLocation(json, folder, f);
        json.Key("hides").BeginArray();
        for (int n = file.nNextCopy; n >= 0; n = folder.Files()[n].nNextCopy)
            WriteLocation(json, folder, n);
        json.EndArray().EndObject();
    }
    json.EndArray().Key("ignored").BeginArray();
    for (const GameIgnored& ignored : folder.Ignored())
        json.String(folder.IgnoredLocation(ignored));
    json.EndArray().EndObject();
    json.Finish();
}

// The content's size and digest; false, told on stderr, when it cannot be read.
bool Measure(const CGameFolder& folder, CGameFileReader& reader, CDigest& digest, int nFile,
             std::string& value)
{
    std::int64_t nSize = 0;
    Result r = reader.Open(nFile);
    if (r)
        r = reader.Stream(DigestSink(digest, nSize));
    value = digest.Finish();
    if (!r)
    {
        std::cerr << "orbistav-cli: " << folder.GameDir() << ": " << r.Text() << '\n';
        return false;
    }
    return true;
}
} // namespace

int ListGameFolder(const CCliGameFolder& cli, bool bJson, std::ostream& out)
{
    if (bJson)
        ListJson(cli.Folder(), out);
    else
        ListText(cli.Folder(), out);
    out.flush();
    return out ? cli.Status() : EXIT_FAILED;
}

int CatGameFile(const CCliGameFolder& cli, const CatOptions& options, std::ostream& out)
{
    if (options.bRaw)
        return RefuseRaw();
    int nFile = 0;
    if (Result r = cli.FindOne(options.strEntry, nFile); !r)
        return Fail(r.Text());
    CGameFileReader reader(cli.Folder());
    Result r = reader.Open(nFile);
    if (r)
        r = reader.Stream(StreamSink(out));
    out.flush();
    if (!r)
        return Fail(r.Text());
    return out ? cli.Status() : Fail("standard output could not be written");
}

int SumGameFiles(const CCliGameFolder& cli, const SumOptions& options, std::ostream& out)
{
    if (options.bRaw)
        return RefuseRaw();
    std::unique_ptr<CDigest> digest;
    if (Result r = CDigest::Create(options.strAlgorithm, digest); !r)
        return Fail(r.Text());
    std::vector<int> selected;
    int status = SelectGameFiles(cli, options.aPatterns, selected);
    CGameFileReader reader(cli.Folder());
    for (const int f : selected)
    {
        std::string value;
        if (!Measure(cli.Folder(), reader, *digest, f, value))
        {
            status = EXIT_FAILED;
            continue;
        }
        out << value << "  " << cli.Folder().Location(f) << '\n';
    }
    out.flush();
    return out ? status : Fail("standard output could not be written");
}

int ExtractGameFolder(const CCliGameFolder& cli, const ExtractOptions& options)
{
    if (options.bRaw)
        return RefuseRaw();
    const CGameFolder& folder = cli.Folder();
    std::vector<int> selected;
    int status = SelectGameFiles(cli, options.aPatterns, selected);
    if (selected.empty())
        return status;
    CDestinationDir destination;
    if (Result r = OpenDestination(options.strDestination, destination); !r)
        return Fail(r.Text());

    CProgressLine progress(std::cerr, CProgressLine::StandardErrorIsTerminal(),
                           static_cast<int>(selected.size()));
    CGameFileReader reader(folder);
    for (const int f : selected)
    {
        // Always at its path inside its root, --keep-dirs or not: the game loads files of
        // one name from several type folders (data/foo.txt, data/text/foo.txt), and side by
        // side the last would overwrite the others.
        const std::string path = folder.PathInRoot(f);
        // Every folder on the way is made below the destination and checked first, so a
        // name from an archive cannot reach outside it.
        std::vector<CDestinationDir> chain;
        const CDestinationDir* pDir = &destination;
        std::string rest = path;
        Result r;
        for (std::size_t nSlash; r && (nSlash = rest.find('/')) != std::string::npos;)
        {
            const std::string component = rest.substr(0, nSlash);
            rest.erase(0, nSlash + 1);
            if (!CEntryExtractor::IsSafeName(component))
                r = Result::Fail(folder.Location(f) + ": refused: the path cannot be used on disk");
            else
            {
                CDestinationDir sub;
                r = pDir->OpenSubdir(component, sub);
                chain.push_back(std::move(sub));
                pDir = &chain.back();
            }
        }
        if (r && !CEntryExtractor::IsSafeName(rest))
            r = Result::Fail(folder.Location(f) + ": refused: the name cannot be used on disk");
        if (r)
            r = reader.Open(f);
        if (r)
            r = pDir->WriteFileAtomically(
                rest,
                [&](int fd)
                {
                    return reader.Stream(
                        [&](std::span<const unsigned char> piece)
                        {
                            progress.AddBytes(static_cast<std::int64_t>(piece.size()));
                            if (!WriteAll(fd, std::string_view(
                                                  reinterpret_cast<const char*>(piece.data()),
                                                  piece.size())))
                                return Result::Fail(pDir->PathOf(rest) + ": " +
                                                    std::strerror(errno));
                            return Result::Ok();
                        });
                });
        if (!r)
        {
            progress.Clear();
            status = Fail(r.Text());
        }
        else if (options.bVerbose)
        {
            progress.Clear();
            std::cout << pDir->PathOf(rest) << std::endl;
        }
        progress.FileDone();
    }
    return status;
}

int FindEngineDuplicates(const CCliGameFolder& cli, bool bJson, std::ostream& out)
{
    const CGameFolder& folder = cli.Folder();
    int status = cli.Status();
    std::unique_ptr<CDigest> digest;
    if (Result r = CDigest::Create("sha256", digest); !r)
        return Fail(r.Text());
    CGameFileReader reader(folder);
    CJsonStream json(out);
    if (bJson)
        json.BeginObject().Key("duplicates").BeginArray();
    for (const int f : folder.LoadedFiles())
    {
        const std::vector<int> hidden = folder.HiddenBy(f);
        if (hidden.empty())
            continue;
        std::string loadedSum;
        const bool bLoadedRead = Measure(folder, reader, *digest, f, loadedSum);
        std::vector<std::optional<bool>> same;
        bool bAllSame = bLoadedRead;
        for (const int h : hidden)
        {
            std::string sum;
            const bool bRead = Measure(folder, reader, *digest, h, sum);
            if (!bLoadedRead || !bRead)
                same.emplace_back();
            else
                same.emplace_back(sum == loadedSum);
            bAllSame = bAllSame && same.back().value_or(false);
            if (!bRead || !bLoadedRead)
                status = EXIT_FAILED;
        }
        const GameFile& file = folder.Files()[f];
        const bool bCritical = IsCriticalGameType(file.nType);
        if (!bJson)
        {
            out << GamePath(file) << '\t' << folder.Location(f) << '\t'
                << (bAllSame ? "identical" : "different") << (bCritical ? "\tcritical" : "")
                << '\n';
            for (std::size_t i = 0; i < hidden.size(); ++i)
                out << "  " << (folder.IsOverride(f, hidden[i]) ? "override" : "shadow") << '\t'
                    << folder.Location(hidden[i]) << '\t'
                    << (!same[i] ? "damaged" : *same[i] ? "identical" : "different") << '\n';
            continue;
        }
        json.BeginObject()
            .Key("folder").String(GetGamePathType(file.nType).szPath)
            .Key("name").String(file.Name())
            .Key("loads").String(folder.Location(f))
            .Key("critical").Bool(bCritical)
            .Key("identical").Bool(bAllSame)
            .Key("hides").BeginArray();
        for (std::size_t i = 0; i < hidden.size(); ++i)
        {
            json.BeginObject()
                .Key("location").String(folder.Location(hidden[i]))
                .Key("kind").String(folder.IsOverride(f, hidden[i]) ? "override" : "shadow")
                .Key("identical");
            if (same[i])
                json.Bool(*same[i]);
            else
                json.Null();
            json.EndObject();
        }
        json.EndArray().EndObject();
    }
    if (bJson)
    {
        json.EndArray().EndObject();
        json.Finish();
    }
    out.flush();
    return out ? status : EXIT_FAILED;
}
