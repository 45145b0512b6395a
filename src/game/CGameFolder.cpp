#include "CGameFolder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <dirent.h>
#include <sys/stat.h>
#include <thread>
#include <unordered_set>

#include "AsciiText.h"
#include "CInputFile.h"
#include "CWorkerPool.h"
#include "GamePathTypes.h"
#include "TextEncoding.h"
#include "VpDirectory.h"

struct CGameFolder::DiskFile
{
    std::string strName;
    std::string strSub; // "glass/"
    std::int64_t nSize = 0;
    std::int64_t tTime = 0;
};

namespace
{
// The engine reads the name field into 32 bytes and ends it at the last one.
constexpr std::size_t kMostVpNameLength = 31;
// Folder trees deeper than this are not game data; it bounds the walk.
constexpr int kMostFolderDepth = 64;
// Reading directories on several threads pays once there are this many archives.
constexpr std::size_t kParallelArchives = 8;

// strcasecmp as the engine's stricmp is on Linux: ASCII letters folded, bytes unsigned.
int CompareNoCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return static_cast<unsigned char>(ToLowerAscii(c)); };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
    {
        const unsigned char ca = lower(a[i]);
        const unsigned char cb = lower(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// The engine's file order: names and sub paths without regard to ASCII case; a file
// without a sub path compares its name with the other's sub path.
bool EngineLess(std::string_view aName, std::string_view aSub, std::string_view bName,
                std::string_view bSub)
{
    if (aSub.empty() && !bSub.empty())
        return CompareNoCase(aName, bSub) < 0;
    if (!aSub.empty() && bSub.empty())
        return CompareNoCase(aSub, bName) < 0;
    if (!aSub.empty() && !bSub.empty())
        if (const int c = CompareNoCase(aSub, bSub); c != 0)
            return c < 0;
    return CompareNoCase(aName, bName) < 0;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

// Names are mostly ASCII, which needs no conversion.
std::string NameToUtf8(std::string_view name)
{
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 0x80)
            return Cp1252ToUtf8(name);
    return std::string(name);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           EqualsNoCaseAscii(text.substr(text.size() - suffix.size()), suffix);
}

std::string Join(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a.back() == '/' ? a + b : a + "/" + b;
}

struct DirEntry
{
    std::string strName;
    bool bDir = false;
    bool bFile = false;
    struct stat st{};
};

// The entries of a folder, links followed as the engine's stat follows them; false when
// the folder cannot be opened. Without bDetails, sizes, times and identities are left
// out where the folder tells the kind of an entry itself, which saves a stat for each.
bool ReadFolder(const std::string& dir, std::vector<DirEntry>& entries, int& nError,
                bool bDetails = true)
{
    entries.clear();
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
    {
        nError = errno;
        return false;
    }
    while (const dirent* e = ::readdir(d))
    {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        DirEntry entry;
        entry.strName = e->d_name;
        if (!bDetails && (e->d_type == DT_DIR || e->d_type == DT_REG))
        {
            entry.bDir = e->d_type == DT_DIR;
            entry.bFile = e->d_type == DT_REG;
            entries.push_back(std::move(entry));
            continue;
        }
        if (::stat(Join(dir, entry.strName).c_str(), &entry.st) != 0)
            continue;
        entry.bDir = S_ISDIR(entry.st.st_mode);
        entry.bFile = S_ISREG(entry.st.st_mode);
        entries.push_back(std::move(entry));
    }
    ::closedir(d);
    // readdir's order is the file system's; the engine's own order comes later, and
    // this one keeps equal names in a stable order.
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.strName < b.strName; });
    return true;
}

// Folders listed while one game folder is opened: each type folder's parent is searched
// for some thirty names, which one listing answers.
std::map<std::string, std::vector<DirEntry>>& FolderCache()
{
    thread_local std::map<std::string, std::vector<DirEntry>> cache;
    return cache;
}

const std::vector<DirEntry>& ListedFolder(const std::string& dir)
{
    auto [it, bNew] = FolderCache().try_emplace(dir);
    if (bNew)
    {
        int nError = 0;
        ReadFolder(dir, it->second, nError, false);
    }
    return it->second;
}

bool IsArchiveName(std::string_view name)
{
    return EndsWithNoCase(name, ".vp") || EndsWithNoCase(name, ".vpc");
}

// The folder below parent whose name is component without regard to case: the exact
// spelling first, else the first in byte order.
std::optional<std::string> FindFolderNoCase(const std::vector<DirEntry>& entries,
                                            std::string_view component)
{
    const DirEntry* pFound = nullptr;
    for (const DirEntry& e : entries)
        if (e.bDir && EqualsNoCaseAscii(e.strName, component))
        {
            if (e.strName == component)
                return e.strName;
            if (!pFound)
                pFound = &e;
        }
    return pFound ? std::optional<std::string>(pFound->strName) : std::nullopt;
}
} // namespace

Result CGameFolder::Open(const std::string& folder, const std::optional<std::string>& modList)
{
    GameFolderSetup setup;
    if (Result r = ResolveGameFolder(folder, modList, setup); !r)
        return r;
    return Open(setup);
}

Result CGameFolder::Open(const GameFolderSetup& setup)
{
    *this = CGameFolder();
    m_setup = setup;
    FolderCache().clear();
    struct stat st{};
    if (::stat(GameDir().c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Result::Fail(GameDir() + ": not a folder");
    std::vector<DirEntry> probe;
    int nError = 0;
    if (!ReadFolder(GameDir(), probe, nError))
        return Result::Fail(GameDir() + ": " + std::strerror(nError));

    for (const std::string& mod : m_setup.aMods)
    {
        // Mod folders are found without regard to case, one component at a time; what
        // is not found stays as spelt and is a root with no files.
        GameRoot root;
        root.strMod = mod;
        std::string path;
        std::string rest = mod;
        std::replace(rest.begin(), rest.end(), '\\', '/');
        while (!rest.empty())
        {
            const std::size_t nSlash = rest.find('/');
            const std::string component = rest.substr(0, nSlash);
            rest = nSlash == std::string::npos ? "" : rest.substr(nSlash + 1);
            if (component.empty())
                continue;
            const auto found = component == "." || component == ".."
                                   ? std::optional<std::string>(component)
                                   : FindFolderNoCase(ListedFolder(Join(GameDir(), path)),
                                                      component);
            if (!found)
            {
                path = Join(path, component);
                if (!rest.empty())
                    path = Join(path, rest);
                root.bMissing = true;
                break;
            }
            path = Join(path, *found);
        }
        root.strPath = path;
        if (root.bMissing)
            m_warnings.push_back(mod + ": no such mod folder in " + GameDir());
        m_roots.push_back(std::move(root));
    }
    m_roots.push_back(GameRoot());
    for (int r = 0; r < static_cast<int>(m_roots.size()); ++r)
        if (!m_roots[r].bMissing)
            IndexRoot(r);
    FolderCache().clear();
    Resolve();
    return Result::Ok();
}

void CGameFolder::ListDisk(const std::string& dir, const std::string& sub, bool bRecursive,
                           std::vector<DiskFile>& out,
                           std::vector<std::pair<std::uint64_t, std::uint64_t>>& visited)
{
    std::vector<DirEntry> entries;
    int nError = 0;
    const std::string path = Join(dir, sub);
    if (!ReadFolder(path, entries, nError))
    {
        if (nError != ENOENT && nError != ENOTDIR)
        {
            m_warnings.push_back(path + ": " + std::strerror(nError));
            m_bComplete = false;
        }
        return;
    }
    for (DirEntry& e : entries)
    {
        if (e.bDir && bRecursive)
        {
            // A folder met twice (a link to a folder above it) is read once, so a link
            // loop ends.
            const std::pair<std::uint64_t, std::uint64_t> id{e.st.st_dev, e.st.st_ino};
            if (std::find(visited.begin(), visited.end(), id) != visited.end() ||
                std::count(sub.begin(), sub.end(), '/') >= kMostFolderDepth)
                continue;
            visited.push_back(id);
            ListDisk(dir, sub + e.strName + "/", true, out, visited);
            continue;
        }
        if (!e.bFile)
            continue;
        out.push_back({std::move(e.strName), sub, static_cast<std::int64_t>(e.st.st_size),
                       static_cast<std::int64_t>(e.st.st_mtime)});
    }
}

void CGameFolder::IndexRoot(int nRoot)
{
    const std::string rootDir = Join(GameDir(), m_roots[nRoot].strPath);
    // Type folders as they are spelt on disk, each found below its parent's real folder.
    std::vector<std::string> realPaths(GAME_TYPE_COUNT);
    for (int t = GAME_TYPE_DATA; t < GAME_TYPE_COUNT; ++t)
    {
        const GamePathType& type = GetGamePathType(t);
        const std::string parent = type.nParent == GAME_TYPE_ROOT ? std::string()
                                   : realPaths[type.nParent].empty()
                                       ? std::string(GetGamePathType(type.nParent).szPath)
                                       : realPaths[type.nParent];
        const std::string_view full = type.szPath;
        const std::string_view last = full.substr(full.rfind('/') + 1);
        const auto found = FindFolderNoCase(ListedFolder(Join(rootDir, parent)), last);
        realPaths[t] = found ? Join(parent, *found) : std::string(type.szPath);
    }

    m_sources.push_back({false, nRoot, GAME_TYPE_ROOT, m_roots[nRoot].strPath});
    std::vector<std::string> seen;
    IndexLoose(nRoot, realPaths, seen);

    // Archives of the root folder and of every type folder, by type then by path.
    struct Pack
    {
        int nType;
        std::string strPath; // from the root folder
    };
    std::vector<Pack> packs;
    for (int t = GAME_TYPE_ROOT; t < GAME_TYPE_COUNT; ++t)
    {
        const std::string folder = t == GAME_TYPE_ROOT ? std::string() : realPaths[t];
        for (const DirEntry& e : ListedFolder(Join(rootDir, folder)))
            if (e.bFile && IsArchiveName(e.strName))
                packs.push_back({t, Join(folder, e.strName)});
    }
    std::stable_sort(packs.begin(), packs.end(),
                     [](const Pack& a, const Pack& b)
                     {
                         if (a.nType != b.nType)
                             return a.nType < b.nType;
                         return CompareNoCase(a.strPath, b.strPath) < 0;
                     });
    std::unordered_set<std::string> archivePaths;
    for (const Pack& pack : packs)
        archivePaths.insert(pack.strPath);

    std::vector<VpDirectory> directories(packs.size());
    std::vector<Result> results(packs.size());
    const auto read = [&](std::size_t i)
    {
        CInputFile input;
        results[i] = input.Open(Join(rootDir, packs[i].strPath));
        if (!results[i])
            return;
        // The engine skips a file too small for a header and one entry's worth of ints.
        if (input.Size() < 16 + 12)
        {
            results[i] = Result::Fail("too small to be an archive (" +
                                      std::to_string(input.Size()) + " bytes)");
            return;
        }
        results[i] = ReadVpDirectory(input, directories[i]);
        if (results[i] && directories[i].strSignature != "VPVP")
            results[i] = Result::Fail("not a VP archive");
    };
    if (packs.size() >= kParallelArchives)
    {
        CWorkerPool pool(static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u)));
        std::vector<std::future<void>> done;
        for (std::size_t i = 0; i < packs.size(); ++i)
            done.push_back(pool.Submit([&, i] { read(i); }));
        for (auto& f : done)
            f.wait();
    }
    else
        for (std::size_t i = 0; i < packs.size(); ++i)
            read(i);

    // Grown once: tens of thousands of records moved again and again cost more than
    // reading them.
    std::size_t nEntries = m_files.size();
    for (const VpDirectory& directory : directories)
        nEntries += directory.aEntries.size();
    m_files.reserve(nEntries);
    for (std::size_t i = 0; i < packs.size(); ++i)
    {
        const std::string path = Join(m_roots[nRoot].strPath, packs[i].strPath);
        if (!results[i])
        {
            // The file's own text names it; a cause alone does not.
            const std::string& text = results[i].Text();
            m_warnings.push_back(text.rfind(Join(rootDir, packs[i].strPath), 0) == 0
                                     ? text
                                     : path + ": " + text);
            m_bComplete = false;
            continue;
        }
        if (!directories[i].strIncomplete.empty())
        {
            m_warnings.push_back(path + ": " + directories[i].strIncomplete);
            m_bComplete = false;
        }
        m_sources.push_back({true, nRoot, packs[i].nType, path});
        IndexArchive(static_cast<int>(m_sources.size()) - 1, directories[i]);
        directories[i] = VpDirectory();
    }

    // Everything else below data/ is never loaded.
    const std::string dataDir = realPaths[GAME_TYPE_DATA];
    std::vector<DiskFile> all;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> visited;
    ListDisk(Join(rootDir, dataDir), "", true, all, visited);
    std::unordered_set<std::string> known(seen.begin(), seen.end());
    const std::string single = ToLowerAscii(realPaths[24]) + "/";
    const std::string multi = ToLowerAscii(realPaths[25]) + "/";
    const int nLoose = static_cast<int>(std::find_if(m_sources.begin(), m_sources.end(),
                                                     [&](const GameSource& s)
                                                     { return !s.bArchive && s.nRoot == nRoot; }) -
                                        m_sources.begin());
    for (const DiskFile& f : all)
    {
        const std::string path = Join(dataDir, f.strSub + f.strName);
        if (known.count(path) || archivePaths.count(path))
            continue;
        const std::string lowered = ToLowerAscii(path);
        const bool bPlayer = lowered.rfind(single, 0) == 0 || lowered.rfind(multi, 0) == 0;
        m_ignored.push_back({nLoose, path,
                             bPlayer ? GameIgnoreReason::PlayerFiles
                                     : GameIgnoreReason::UnknownFolder});
    }
}

void CGameFolder::IndexLoose(int nRoot, const std::vector<std::string>& realPaths,
                             std::vector<std::string>& seen)
{
    const std::string rootDir = Join(GameDir(), m_roots[nRoot].strPath);
    const int nSource = static_cast<int>(m_sources.size()) - 1;
    for (int t = GAME_TYPE_ROOT; t < GAME_TYPE_COUNT; ++t)
    {
        const GamePathType& type = GetGamePathType(t);
        if (!type.bLooseIndexed)
            continue;
        const std::string folder = t == GAME_TYPE_ROOT ? std::string() : realPaths[t];
        std::vector<DiskFile> files;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> visited;
        ListDisk(Join(rootDir, folder), "", type.bSubfolders, files, visited);
        std::stable_sort(files.begin(), files.end(),
                         [](const DiskFile& a, const DiskFile& b)
                         { return EngineLess(a.strName, a.strSub, b.strName, b.strSub); });
        for (DiskFile& f : files)
        {
            const std::string path = Join(folder, f.strSub + f.strName);
            // The game folder's own files are seen only as sources or root files.
            if (t != GAME_TYPE_ROOT)
                seen.push_back(path);
            const bool bLz41 = EndsWithNoCase(f.strName, ".lz41");
            const std::string_view name =
                std::string_view(f.strName).substr(0, f.strName.size() - (bLz41 ? 5 : 0));
            const std::size_t nDot = name.rfind('.');
            if (nDot == std::string::npos ||
                !IsGameExtensionLoaded(t, name.substr(nDot + 1)))
            {
                // An archive directly in a type folder is a source, not a file.
                if (!(f.strSub.empty() && IsArchiveName(f.strName)))
                    m_ignored.push_back({nSource, path, GameIgnoreReason::Extension});
                continue;
            }
            GameFile file;
            file.strStoredName = std::move(f.strName);
            file.strSubPath = f.strSub;
            file.nDir = AddDir(Join(folder, f.strSub.substr(0, f.strSub.size() - (f.strSub.empty() ? 0 : 1))));
            file.nSize = f.nSize;
            file.tTime = f.tTime;
            file.nSource = nSource;
            file.nType = t;
            file.bLz41 = bLz41;
            m_files.push_back(std::move(file));
        }
    }
}

void CGameFolder::IndexArchive(int nSource, const VpDirectory& directory)
{
    struct Pending
    {
        std::string_view name; // Windows-1252, as stored
        int nSub;              // in subs
        int nDir;              // in m_dirs
        const VpEntry* pEntry;
    };
    std::vector<Pending> run;
    std::vector<std::string> subs; // of this archive, Windows-1252
    int nType = GAME_TYPE_INVALID;
    const auto flush = [&]
    {
        std::stable_sort(run.begin(), run.end(),
                         [&](const Pending& a, const Pending& b)
                         { return EngineLess(a.name, subs[a.nSub], b.name, subs[b.nSub]); });
        for (const Pending& p : run)
        {
            GameFile file;
            file.strStoredName = NameToUtf8(p.name);
            file.strSubPath = NameToUtf8(subs[p.nSub]);
            file.nDir = p.nDir;
            file.nOffset = p.pEntry->nOffset;
            file.nSize = p.pEntry->nSize;
            file.tTime = p.pEntry->tTime;
            file.nSource = nSource;
            file.nType = nType;
            m_files.push_back(std::move(file));
        }
        run.clear();
    };
    std::string dir;
    int nDir = -1; // made when the directory first holds a file
    subs.emplace_back();
    for (const VpEntry& entry : directory.aEntries)
    {
        const std::string_view name =
            std::string_view(entry.strName).substr(0, kMostVpNameLength);
        if (entry.IsDirectory())
        {
            if (EqualsNoCaseAscii(name, ".."))
            {
                const std::size_t nSlash = dir.rfind('/');
                dir.erase(nSlash == std::string::npos ? 0 : nSlash);
            }
            else
                dir = Join(dir, std::string(name));
            nDir = -1;
            const int nNewType = GamePathTypeOfDir(dir);
            if (nNewType != nType)
                flush();
            nType = nNewType;
            const std::string_view start = GameSubPathStart(dir, nType);
            if (start.empty())
                subs.emplace_back();
            else
                subs.push_back(std::string(start) + "/");
            continue;
        }
        const std::size_t nDot = name.rfind('.');
        if (nType == GAME_TYPE_INVALID)
            m_ignored.push_back({nSource, Cp1252ToUtf8(Join(dir, std::string(name))),
                                 GameIgnoreReason::UnknownFolder});
        else if (nDot == std::string::npos ||
                 !IsGameExtensionLoaded(nType, name.substr(nDot)))
            m_ignored.push_back({nSource, Cp1252ToUtf8(Join(dir, std::string(name))),
                                 GameIgnoreReason::Extension});
        else
        {
            if (nDir < 0)
                nDir = AddDir(NameToUtf8(dir));
            run.push_back({name, static_cast<int>(subs.size()) - 1, nDir, &entry});
        }
    }
    flush();
}

int CGameFolder::AddDir(std::string dir)
{
    if (m_dirs.empty() || m_dirs.back() != dir)
        m_dirs.push_back(std::move(dir));
    return static_cast<int>(m_dirs.size()) - 1;
}

namespace
{
std::size_t HashNoCase(int nType, std::string_view name)
{
    std::size_t h = 1469598103934665603ull ^ static_cast<std::size_t>(nType);
    for (const char c : name)
        h = (h ^ static_cast<unsigned char>(ToLowerAscii(c))) * 1099511628211ull;
    return h;
}
} // namespace

int CGameFolder::FindLoaded(int nType, std::string_view name) const
{
    if (m_slots.empty())
        return -1;
    const std::size_t nMask = m_slots.size() - 1;
    for (std::size_t i = HashNoCase(nType, name) & nMask;; i = (i + 1) & nMask)
    {
        const int nFile = m_slots[i];
        if (nFile < 0)
            return -1;
        if (m_files[nFile].nType == nType && EqualNoCase(m_files[nFile].Name(), name))
            return nFile;
    }
}

void CGameFolder::Resolve()
{
    std::size_t nSlots = 16;
    while (nSlots < 2 * m_files.size())
        nSlots *= 2;
    m_slots.assign(nSlots, -1);
    // The last copy met of each loaded file, where the next one joins the chain.
    std::vector<int> last(m_files.size(), -1);
    const std::size_t nMask = nSlots - 1;
    for (int i = 0; i < static_cast<int>(m_files.size()); ++i)
    {
        GameFile& file = m_files[i];
        const std::string_view name = file.Name();
        for (std::size_t s = HashNoCase(file.nType, name) & nMask;; s = (s + 1) & nMask)
        {
            const int nOther = m_slots[s];
            if (nOther < 0)
            {
                m_slots[s] = i;
                last[i] = i;
                break;
            }
            if (m_files[nOther].nType == file.nType && EqualNoCase(m_files[nOther].Name(), name))
            {
                file.nLoadedFile = nOther;
                m_files[last[nOther]].nNextCopy = i;
                last[nOther] = i;
                break;
            }
        }
    }
}

std::vector<int> CGameFolder::LoadedFiles() const
{
    std::vector<int> loaded;
    for (int i = 0; i < static_cast<int>(m_files.size()); ++i)
        if (m_files[i].nLoadedFile < 0)
            loaded.push_back(i);
    return loaded;
}

std::vector<int> CGameFolder::HiddenBy(int nFile) const
{
    std::vector<int> hidden;
    if (m_files[nFile].nLoadedFile >= 0)
        return hidden;
    for (int n = m_files[nFile].nNextCopy; n >= 0; n = m_files[n].nNextCopy)
        hidden.push_back(n);
    return hidden;
}

bool CGameFolder::IsOverride(int nLoaded, int nHidden) const
{
    return EqualsNoCaseAscii(m_files[nLoaded].strSubPath, m_files[nHidden].strSubPath);
}

std::vector<GameHit> CGameFolder::Find(std::string_view request, bool bTypePath) const
{
    std::string name(request);
    std::replace(name.begin(), name.end(), '\\', '/');
    while (!name.empty() && name.front() == '/')
        name.erase(0, 1);
    int nOnlyType = GAME_TYPE_INVALID;
    // "./intro.ogg" names the game folder's own type folder, which has no path.
    if (bTypePath && name.rfind("./", 0) == 0)
    {
        nOnlyType = GAME_TYPE_ROOT;
        name.erase(0, 2);
    }
    else if (bTypePath)
    {
        // The longest type folder the request starts with names its folder.
        for (int t = GAME_TYPE_DATA; t < GAME_TYPE_COUNT; ++t)
        {
            const std::string_view path = GetGamePathType(t).szPath;
            if (name.size() > path.size() && name[path.size()] == '/' &&
                EqualsNoCaseAscii(std::string_view(name).substr(0, path.size()), path) &&
                (nOnlyType == GAME_TYPE_INVALID ||
                 path.size() > std::string_view(GetGamePathType(nOnlyType).szPath).size()))
                nOnlyType = t;
        }
        if (nOnlyType != GAME_TYPE_INVALID)
            name.erase(0, std::string_view(GetGamePathType(nOnlyType).szPath).size() + 1);
    }
    std::string sub;
    const std::size_t nSlash = name.rfind('/');
    if (nSlash != std::string::npos)
    {
        sub = name.substr(0, nSlash + 1);
        name.erase(0, nSlash + 1);
    }
    std::vector<GameHit> hits;
    if (name.empty())
        return hits;
    for (int t = GAME_TYPE_ROOT; t < GAME_TYPE_COUNT; ++t)
    {
        if (nOnlyType != GAME_TYPE_INVALID && t != nOnlyType)
            continue;
        const int nLoaded = FindLoaded(t, name);
        if (nLoaded < 0)
            continue;
        GameHit hit;
        hit.nType = t;
        const auto consider = [&](int nFile)
        {
            if (!sub.empty() && !EqualsNoCaseAscii(sub, m_files[nFile].strSubPath))
                return;
            if (hit.nLoads < 0)
                hit.nLoads = nFile;
            else
                hit.aHides.push_back(nFile);
        };
        for (int n = nLoaded; n >= 0; n = m_files[n].nNextCopy)
            consider(n);
        if (hit.nLoads >= 0)
            hits.push_back(std::move(hit));
    }
    return hits;
}

std::string CGameFolder::Location(int nFile) const
{
    const GameFile& file = m_files[nFile];
    const GameSource& source = m_sources[file.nSource];
    return source.bArchive ? source.strPath + ":" + PathInSource(nFile)
                           : Join(source.strPath, PathInSource(nFile));
}

std::string CGameFolder::PathInSource(int nFile) const
{
    const GameFile& file = m_files[nFile];
    return Join(m_dirs[file.nDir], file.strStoredName);
}

std::string CGameFolder::IgnoredLocation(const GameIgnored& ignored) const
{
    const GameSource& source = m_sources[ignored.nSource];
    return source.bArchive ? source.strPath + ":" + ignored.strPath
                           : Join(source.strPath, ignored.strPath);
}

std::string CGameFolder::PathInRoot(int nFile) const
{
    const GameFile& file = m_files[nFile];
    return Join(m_dirs[file.nDir], std::string(file.Name()));
}

std::string CGameFolder::SourceDiskPath(int nSource) const
{
    return Join(GameDir(), m_sources[nSource].strPath);
}
