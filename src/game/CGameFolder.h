#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GameModList.h"
#include "Result.h"

// One place of a root that files come from: its loose folder or one of its archives.
struct GameSource
{
    bool bArchive = false;
    int nRoot = 0;
    int nType = 0;       // the type folder an archive lies in
    std::string strPath; // relative to the game folder, "/" separated; "" is the game folder
};

// A -mod folder, or the game folder itself (the last root, with an empty name).
struct GameRoot
{
    std::string strMod;  // as listed
    std::string strPath; // relative to the game folder, as found on disk
    bool bMissing = false;
};

// A file the engine indexes, in the engine's index order.
struct GameFile
{
    std::string strStoredName; // UTF-8, as stored: a loose "x.tbl.lz41" keeps its suffix
    std::string strSubPath;    // "glass/" below the type folder; empty for none
    std::int64_t nOffset = 0;  // in its archive
    std::int64_t nSize = 0;    // stored bytes
    std::int64_t tTime = 0;
    int nSource = 0;
    int nType = 0;
    int nDir = 0;         // its folder in its source (CGameFolder::Dir)
    int nLoadedFile = -1; // -1: the game loads this file; else the one that hides it
    int nNextCopy = -1;   // the next copy the same loaded file hides, in the engine's order
    bool bLz41 = false;   // a loose file stored compressed

    // The name the game knows it by: a loose "x.tbl.lz41" is "x.tbl".
    std::string_view Name() const
    {
        return std::string_view(strStoredName).substr(0, strStoredName.size() - (bLz41 ? 5 : 0));
    }
};

enum class GameIgnoreReason
{
    UnknownFolder, // a folder no type folder covers
    Extension,     // its type folder does not load that extension
    PlayerFiles,   // pilot files are never indexed from disk
};

struct GameIgnored
{
    int nSource = 0;
    std::string strPath; // as GameFile::strPath
    GameIgnoreReason reason = GameIgnoreReason::UnknownFolder;
};

// What a lookup of one name in one type folder finds: what loads, then what it hides in
// the engine's order.
struct GameHit
{
    int nType = 0;
    int nLoads = -1;
    std::vector<int> aHides;
};

// A game folder and its -mod folders indexed as the engine indexes them: roots in mod
// order then the game folder, each root's loose files before its archives, archives in
// the engine's order. Only directories are read; content is read on demand.
class CGameFolder
{
public:
    // Reads the folder as ResolveGameFolder says the game would be started for it. Fails
    // only when the game folder cannot be read at all; damaged archives and unreadable
    // folders are warnings and the rest is indexed.
    Result Open(const std::string& folder, const std::optional<std::string>& modList);
    Result Open(const GameFolderSetup& setup);

    const std::string& GameDir() const { return m_setup.strGameDir; }
    const GameFolderSetup& Setup() const { return m_setup; }
    const std::vector<GameRoot>& Roots() const { return m_roots; }
    const std::vector<GameSource>& Sources() const { return m_sources; }
    const std::vector<GameFile>& Files() const { return m_files; }
    const std::vector<GameIgnored>& Ignored() const { return m_ignored; }
    // Damaged archives and unreadable folders with their causes, missing mod folders.
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    // False when an archive or folder could be read only in part or not at all.
    bool IsComplete() const { return m_bComplete; }

    // The files the game loads, in index order.
    std::vector<int> LoadedFiles() const;
    // The copies a loaded file hides, in the engine's order.
    std::vector<int> HiddenBy(int nFile) const;
    // Same sub path as the loaded copy: an override; another one: a shadow.
    bool IsOverride(int nLoaded, int nHidden) const;

    // "ships.tbl" or "glass/hull.dds" in every type folder that has it, in table order;
    // with bTypePath, "data/tables/ships.tbl" names the type folder too, and "./intro.ogg"
    // the game folder's own.
    std::vector<GameHit> Find(std::string_view name, bool bTypePath = false) const;

    // "archive.vp:data/tables/ships.tbl", or the loose file's path, from the game folder.
    std::string Location(int nFile) const;
    std::string IgnoredLocation(const GameIgnored& ignored) const;
    // A folder of a source, "/" separated, UTF-8: "data/maps/glass" inside an archive, or
    // below the root's folder for a loose file.
    const std::string& Dir(int nDir) const { return m_dirs[nDir]; }
    // Where the file lies in its source: its archive path, or its path below its root's
    // folder as stored.
    std::string PathInSource(int nFile) const;
    // Where the file lies inside its root: its archive path, or its path below the root's
    // folder; a loose ".lz41" without that suffix.
    std::string PathInRoot(int nFile) const;
    // The disk path of a source.
    std::string SourceDiskPath(int nSource) const;

private:
    struct DiskFile;
    void IndexRoot(int nRoot);
    void IndexLoose(int nRoot, const std::vector<std::string>& realTypePaths,
                    std::vector<std::string>& seen);
    void IndexArchive(int nSource, const struct VpDirectory& directory);
    void ListDisk(const std::string& dir, const std::string& sub, bool bRecursive,
                  std::vector<DiskFile>& out,
                  std::vector<std::pair<std::uint64_t, std::uint64_t>>& visited);
    void Resolve();
    int FindLoaded(int nType, std::string_view name) const;
    int AddDir(std::string dir);

    GameFolderSetup m_setup;
    std::vector<GameRoot> m_roots;
    std::vector<GameSource> m_sources;
    std::vector<GameFile> m_files;
    std::vector<GameIgnored> m_ignored;
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_dirs;
    // Open addressing over the loaded files by type and name without case, so a lookup
    // table of tens of thousands of names costs no allocation per name.
    std::vector<int> m_slots;
    bool m_bComplete = true;
};
