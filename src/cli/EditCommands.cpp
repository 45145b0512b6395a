#include "EditCommands.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <iostream>
#include <set>
#include <sys/stat.h>

#include "AsciiText.h"
#include "CArchiveEditList.h"
#include "ExitCodes.h"
#include "InterruptSignal.h"
#include "PathPattern.h"
#include "TextEncoding.h"

namespace
{
int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}

// An archive path typed in UTF-8, as the archive stores it.
bool ToStored(const std::string& text, std::string& stored)
{
    return Utf8ToCp1252(text, stored);
}

int Save(CArchiveEditList& list)
{
    CatchInterrupts();
    SaveOptions options;
    options.onProgress = [](std::int64_t, std::int64_t) { return !WasInterrupted(); };
    const Result result = list.Save({}, options);
    if (WasInterrupted())
    {
        std::cerr << "orbistav-cli: interrupted; " << list.Path() << " was left as it was\n";
        return EXIT_INTERRUPTED;
    }
    if (!result)
        return Fail(result.Text());
    return EXIT_OK;
}

bool IsDirectoryPath(const std::string& path)
{
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// "\data\maps\x.dds" -> "\data\maps" and "x.dds".
void SplitLast(const std::string& path, std::string& dir, std::string& name)
{
    const std::size_t nSlash = path.find_last_of("\\/");
    dir = nSlash == std::string::npos ? std::string() : path.substr(0, nSlash);
    name = nSlash == std::string::npos ? path : path.substr(nSlash + 1);
}

bool SameDirectory(const std::string& a, const std::string& b)
{
    auto norm = [](const std::string& path)
    {
        std::string out;
        for (const char c : path)
            out += c == '/' ? '\\' : ToLowerAscii(c);
        while (!out.empty() && out.back() == '\\')
            out.pop_back();
        if (!out.empty() && out[0] != '\\')
            out.insert(0, 1, '\\');
        return out;
    };
    return norm(a) == norm(b);
}
} // namespace

int AddToArchive(const AddOptions& options)
{
    CArchiveEditList list;
    struct stat st = {};
    const bool bExists = ::stat(options.strArchive.c_str(), &st) == 0;
    if (Result r = bExists ? list.Open(options.strArchive) : list.New(options.strArchive); !r)
        return Fail(r.Text());
    std::string to;
    if (!ToStored(options.strTo, to))
        return Fail(options.strTo + ": the name cannot be written in Windows-1252");
    if (Result r = list.AddPaths(to, options.aPaths, options.bLz41); !r)
        return Fail(r.Text());
    return Save(list);
}

int RemoveFromArchive(const std::string& archive, const std::vector<std::string>& patterns)
{
    CArchiveEditList list;
    if (Result r = list.Open(archive); !r)
        return Fail(r.Text());
    const std::vector<EditRow> rows = list.Rows();
    const std::vector<std::string> dirs = list.Directories();
    std::vector<std::string> doomedDirs, doomedFiles;
    int status = EXIT_OK;
    for (const std::string& text : patterns)
    {
        const PathPattern pattern(text);
        bool bUsed = false;
        // Only a pattern with a directory part names directories: "maps" alone removes
        // files called maps, never a whole tree.
        if (text.find_first_of("\\/") != std::string::npos)
            for (const std::string& dir : dirs)
                if (pattern.Matches(Cp1252ToUtf8(dir)))
                {
                    doomedDirs.push_back(dir);
                    bUsed = true;
                }
        for (const EditRow& row : rows)
            if (pattern.Matches(Cp1252ToUtf8(row.Path())))
            {
                doomedFiles.push_back(row.Path());
                bUsed = true;
            }
        if (!bUsed)
        {
            std::cerr << "orbistav-cli: " << archive << ": no entry or directory matches '"
                      << text << "'\n";
            status = EXIT_FAILED;
        }
    }
    if (status != EXIT_OK)
    {
        std::cerr << "orbistav-cli: " << archive << " was left as it was\n";
        return status;
    }
    // Each path once, and nothing that a removed directory takes with it.
    std::sort(doomedDirs.begin(), doomedDirs.end());
    std::vector<std::string> paths;
    const auto inRemoved = [&](const std::string& path)
    {
        return std::any_of(paths.begin(), paths.end(),
                           [&](const std::string& dir)
                           {
                               return path.size() > dir.size() && path[dir.size()] == '\\' &&
                                      path.compare(0, dir.size(), dir) == 0;
                           });
    };
    for (const std::string& dir : doomedDirs)
        if (!inRemoved(dir) && std::find(paths.begin(), paths.end(), dir) == paths.end())
            paths.push_back(dir);
    std::set<std::string> seen;
    for (const std::string& file : doomedFiles)
        if (!inRemoved(file) && seen.insert(file).second)
            paths.push_back(file);
    if (Result r = list.Remove(paths); !r)
        return Fail(r.Text());
    return Save(list);
}

int MoveInArchive(const std::string& archive, const std::string& fromText, const std::string& toText)
{
    CArchiveEditList list;
    if (Result r = list.Open(archive); !r)
        return Fail(r.Text());
    std::string from, to;
    if (!ToStored(fromText, from) || !ToStored(toText, to))
        return Fail("an archive path cannot be written in Windows-1252");
    while (from.size() > 1 && IsDirectoryPath(from))
        from.pop_back();
    // An exact path names a file or a directory; else a pattern must name one file.
    if (!list.IsFile(from) && !list.IsDirectory(from))
    {
        const PathPattern pattern(fromText);
        std::vector<std::string> matches;
        for (const EditRow& row : list.Rows())
            if (pattern.Matches(Cp1252ToUtf8(row.Path())))
                matches.push_back(row.Path());
        if (matches.empty())
            return Fail(archive + ": no entry or directory matches '" + fromText + "'");
        if (matches.size() > 1)
        {
            std::string text = archive + ": '" + fromText + "' matches " +
                               std::to_string(matches.size()) + " entries; name one:";
            for (const std::string& path : matches)
                text += "\n  " + Cp1252ToUtf8(path);
            return Fail(text);
        }
        from = matches[0];
    }
    std::string fromDir, fromName;
    SplitLast(from, fromDir, fromName);
    std::string toDir, toName;
    if (IsDirectoryPath(to) || list.IsDirectory(to))
    {
        toDir = to;
        toName = fromName;
    }
    else if (to.find_first_of("\\/") == std::string::npos ||
             list.Format() == ArchiveFormat::Vpp)
    {
        // A bare name renames in place; a packfile has no directories to move into.
        SplitLast(to, toDir, toName);
        if (list.Format() == ArchiveFormat::Vpp && !SameDirectory(toDir, ""))
            return Fail(archive + ": a .VPP archive has no directories to move entries into");
        toDir = fromDir;
    }
    else
        SplitLast(to, toDir, toName);
    if (!SameDirectory(toDir, fromDir))
    {
        if (Result r = list.Move(from, toDir); !r)
            return Fail(r.Text());
        from = (SameDirectory(toDir, "") ? std::string() : toDir) + "\\" + fromName;
    }
    if (toName != fromName)
        if (Result r = list.Rename(from, toName); !r)
            return Fail(r.Text());
    if (!list.IsModified())
        return EXIT_OK;
    return Save(list);
}

int PackFolderAsVpp(const std::string& folder, const std::string& output, bool bLz41)
{
    if (bLz41)
        return Fail(output + ": a .VPP archive holds no compressed entries; leave out --lz41");
    struct stat st = {};
    if (::stat(folder.c_str(), &st) != 0)
        return Fail(folder + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return Fail(folder + ": not a directory");
    // An archive written into the folder it packs would be packed into the next run.
    std::error_code ec;
    const auto root = std::filesystem::weakly_canonical(folder, ec);
    const auto out = std::filesystem::weakly_canonical(output, ec);
    if (out.parent_path() == root)
        return Fail(output + ": refused: the archive to write lies inside the folder " + folder);
    DIR* pDir = ::opendir(folder.c_str());
    if (!pDir)
        return Fail(folder + ": " + std::strerror(errno));
    std::vector<std::string> files;
    std::string subfolder;
    while (const dirent* pEntry = ::readdir(pDir))
    {
        const std::string name = pEntry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        struct stat entry = {};
        if (::lstat(path.c_str(), &entry) == 0 && S_ISDIR(entry.st_mode))
            subfolder = path;
        files.push_back(path);
    }
    ::closedir(pDir);
    if (!subfolder.empty())
        return Fail(subfolder + ": refused: a .VPP archive is one flat list of files, and this "
                                "is a folder");
    std::sort(files.begin(), files.end());
    CArchiveEditList list;
    if (Result r = list.New(output); !r)
        return Fail(r.Text());
    if (Result r = list.AddPaths({}, files); !r)
        return Fail(r.Text());
    return Save(list);
}
