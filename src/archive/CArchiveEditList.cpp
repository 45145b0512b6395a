#include "CArchiveEditList.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <limits>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "ArchiveFile.h"
#include "AsciiText.h"
#include "CArchiveSaver.h"
#include "CByteReader.h"
#include "CDiskFileInput.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "CRecordStream.h"
#include "EntryData.h"
#include "IByteSource.h"
#include "PackPlan.h"
#include "TextEncoding.h"
#include "VpDirectory.h"
#include "VpFormat.h"
#include "VppFormat.h"

struct CArchiveEditList::Edit
{
    std::string strLabel;
    std::function<Result(ArchiveEditNode& root)> apply;
};

namespace
{
std::string Shown(const std::string& path)
{
    return Cp1252ToUtf8(path.empty() ? "\\" : path);
}

ArchiveEditNode* FindChild(ArchiveEditNode& dir, const std::string& name)
{
    for (ArchiveEditNode& child : dir.aChildren)
        if (EqualsNoCaseAscii(child.strName, name))
            return &child;
    return nullptr;
}

ArchiveEditNode* FindNode(ArchiveEditNode& root, const std::string& path,
                          ArchiveEditNode** ppParent = nullptr)
{
    ArchiveEditNode* pNode = &root;
    ArchiveEditNode* pParent = nullptr;
    for (const std::string& part : SplitArchivePath(path))
    {
        if (!pNode->bDirectory)
            return nullptr;
        pParent = pNode;
        pNode = FindChild(*pNode, part);
        if (!pNode)
            return nullptr;
    }
    if (ppParent)
        *ppParent = pParent;
    return pNode;
}

Result FindDirectory(ArchiveEditNode& root, const std::string& path, ArchiveEditNode*& pDir)
{
    pDir = FindNode(root, path);
    if (!pDir || !pDir->bDirectory)
        return Result::Fail(Shown(path) + ": no such directory in the archive");
    return Result::Ok();
}

// An entry or directory below the root, and the directory that holds it; rootRefusal says
// what cannot be done to the root itself.
Result FindBelowRoot(ArchiveEditNode& root, const std::string& path, const char* rootRefusal,
                     ArchiveEditNode*& pNode, ArchiveEditNode*& pParent)
{
    pParent = nullptr;
    pNode = FindNode(root, path, &pParent);
    if (!pNode)
        return Result::Fail(Shown(path) + ": no such entry or directory");
    if (!pParent)
        return Result::Fail(rootRefusal);
    return Result::Ok();
}

void EraseChild(ArchiveEditNode& parent, const ArchiveEditNode* pChild)
{
    parent.aChildren.erase(parent.aChildren.begin() + (pChild - parent.aChildren.data()));
}

// A name already in dir (case ignored, as the games find files), other than pSelf.
Result CheckFree(ArchiveEditNode& dir, const std::string& name, const std::string& dirPath,
                 const ArchiveEditNode* pSelf = nullptr)
{
    for (const ArchiveEditNode& child : dir.aChildren)
        if (&child != pSelf && EqualsNoCaseAscii(child.strName, name))
            return Result::Fail(Shown(dirPath + "\\" + name) + ": the directory already holds " +
                                (child.bDirectory ? "a directory" : "a file") + " named " +
                                Cp1252ToUtf8(child.strName) + " (names are found without regard to case)");
    return Result::Ok();
}

std::int64_t StoredBound(const ArchiveEditNode& node)
{
    if (!node.FromDisk())
        return node.nStoredSize;
    // An empty file compressed is the LZ41 layout of one empty block.
    return node.nDiskSize == 0 && node.bCompress ? 25 : node.nDiskSize;
}

// The largest the archive can come out: every entry stored as it is at most.
void SizeBound(const ArchiveEditNode& dir, ArchiveFormat format, std::int64_t& nEntries,
               std::int64_t& nData)
{
    for (const ArchiveEditNode& child : dir.aChildren)
    {
        if (child.bDirectory)
        {
            nEntries += 2; // the directory and its ".."
            SizeBound(child, format, nEntries, nData);
            continue;
        }
        ++nEntries;
        nData += format == ArchiveFormat::Vpp ? CORBISTAVDoc::Align2048(StoredBound(child))
                                              : StoredBound(child);
    }
}

Result CheckSize(const ArchiveEditNode& root, ArchiveFormat format)
{
    std::int64_t nEntries = 0, nData = 0;
    SizeBound(root, format, nEntries, nData);
    const std::int64_t nTotal =
        format == ArchiveFormat::Vpp
            ? CORBISTAVDoc::Align2048(VPP_DIRECTORY_OFFSET + nEntries * VPP_ENTRY_SIZE) + nData
            : static_cast<std::int64_t>(VP_HEADER_SIZE) + nEntries * VP_ENTRY_SIZE + nData;
    if (nTotal > VP_MAX_ARCHIVE_SIZE)
        return Result::Fail("the archive would be " + std::to_string(nTotal) +
                            " bytes; its signed 32-bit offsets reach " +
                            std::to_string(VP_MAX_ARCHIVE_SIZE) + " at most");
    return Result::Ok();
}

std::int32_t TimeOf(const struct stat& st)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        st.st_mtim.tv_sec, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           EqualsNoCaseAscii(std::string_view(text).substr(text.size() - tail.size()), tail);
}

// Builds nodes from disk files and folders for one edit; refuses what cannot be stored.
class CDiskAdder
{
public:
    CDiskAdder(ArchiveFormat format, bool bCompress) : m_format(format), m_bCompress(bCompress) {}

    Result Add(ArchiveEditNode& dir, const std::string& dirPath, const std::string& diskPath,
               bool bTopLevel)
    {
        const auto refuse = [&](const std::string& why)
        { return Result::Fail(diskPath + ": refused: " + why); };
        struct stat st = {};
        // A link named on the command line is followed; one met inside a folder is not
        // packed, as pack does.
        if ((bTopLevel ? ::stat(diskPath.c_str(), &st) : ::lstat(diskPath.c_str(), &st)) != 0)
            return refuse(std::strerror(errno));
        if (S_ISLNK(st.st_mode))
            return refuse("it is a symbolic link; only regular files and directories are added");
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return refuse("it is not a regular file or a directory");
        std::string base = std::filesystem::path(diskPath).lexically_normal().filename().string();
        if (base.empty())
            base = std::filesystem::path(diskPath).lexically_normal().parent_path().filename();
        std::string name;
        if (!Utf8ToCp1252(base, name))
            return refuse("the name cannot be written in Windows-1252");
        if (Result r = CArchiveEditList::CheckName(m_format, name); !r)
            return refuse(r.Text());
        ArchiveEditNode* pExisting = FindChild(dir, name);
        const std::string key = ToLowerAscii(dirPath + "\\" + name);
        if (!S_ISDIR(st.st_mode))
        {
            // Two files of one edit with one archive name: neither may silently win.
            const auto [it, bNew] = m_taken.emplace(key, diskPath);
            if (!bNew)
                return refuse("it and " + it->second + " would have the same name in the "
                              "archive (case is ignored)");
        }
        if (S_ISDIR(st.st_mode))
        {
            if (m_format == ArchiveFormat::Vpp)
                return refuse("it is a folder, and a .VPP archive has no directories");
            if (pExisting && !pExisting->bDirectory)
                return refuse("the archive holds a file of that name in " + Shown(dirPath));
            if (!pExisting)
            {
                ArchiveEditNode& created = dir.aChildren.emplace_back();
                created.strName = name;
                created.bDirectory = true;
                created.state = EditState::Added;
                pExisting = &created;
            }
            return AddFolderContents(*pExisting, dirPath + "\\" + pExisting->strName, diskPath);
        }
        if (::access(diskPath.c_str(), R_OK) != 0)
            return refuse("it cannot be read: " + std::string(std::strerror(errno)));
        const bool bCompress = m_format == ArchiveFormat::Vp && m_bCompress;
        if (st.st_size == 0 && m_format == ArchiveFormat::Vp && !bCompress)
            return refuse("the file is empty, and an entry of size 0 would read as a directory "
                          "(--lz41 stores it)");
        if (st.st_size > VP_MAX_ARCHIVE_SIZE)
            return refuse("it is larger than an archive can be");
        if (pExisting && pExisting->bDirectory)
            return refuse("the archive holds a directory of that name in " + Shown(dirPath));
        ArchiveEditNode* pNode = pExisting;
        if (!pNode)
        {
            pNode = &dir.aChildren.emplace_back();
            pNode->strName = name;
            pNode->state = EditState::Added;
        }
        else if (pNode->state == EditState::Unchanged)
            pNode->state = EditState::Replaced;
        pNode->strDiskPath = diskPath;
        pNode->nDiskSize = st.st_size;
        pNode->tTime = TimeOf(st);
        // Pictures and sounds that are compressed already are stored as they are.
        pNode->bCompress = bCompress && ShouldCompress(name, st.st_size);
        return Result::Ok();
    }

private:
    // In byte order of the names, so the same folder always gives the same archive.
    Result AddFolderContents(ArchiveEditNode& dir, const std::string& dirPath,
                             const std::string& diskPath)
    {
        DIR* pDir = ::opendir(diskPath.c_str());
        if (!pDir)
            return Result::Fail(diskPath + ": refused: " + std::strerror(errno));
        std::vector<std::string> names;
        while (const dirent* pEntry = ::readdir(pDir))
            if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
                names.emplace_back(pEntry->d_name);
        ::closedir(pDir);
        std::sort(names.begin(), names.end());
        std::vector<std::string> folders;
        for (const std::string& name : names)
        {
            const std::string path = diskPath + "/" + name;
            struct stat st = {};
            if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            {
                folders.push_back(path);
                continue;
            }
            if (Result r = Add(dir, dirPath, path, false); !r)
                return r;
        }
        for (const std::string& path : folders)
            if (Result r = Add(dir, dirPath, path, false); !r)
                return r;
        return Result::Ok();
    }

    ArchiveFormat m_format;
    bool m_bCompress;
    std::map<std::string, std::string> m_taken; // archive path (lower case) -> disk path
};

void CollectRows(const ArchiveEditNode& dir, const std::string& dirPath, std::vector<EditRow>* pRows,
                 std::vector<std::string>* pDirs)
{
    for (const ArchiveEditNode& child : dir.aChildren)
    {
        if (child.bDirectory)
        {
            if (pDirs)
                pDirs->push_back(dirPath + "\\" + child.strName);
            CollectRows(child, dirPath + "\\" + child.strName, pRows, pDirs);
        }
        else if (pRows)
        {
            EditRow& row = pRows->emplace_back();
            row.strDir = dirPath;
            row.strName = child.strName;
            row.nSize = child.FromDisk() ? child.nDiskSize : child.nStoredSize;
            row.tTime = child.tTime;
            row.state = child.state;
        }
    }
}

std::string LastName(const std::string& path)
{
    const std::vector<std::string> parts = SplitArchivePath(path);
    return parts.empty() ? "\\" : Cp1252ToUtf8(parts.back());
}

// The directory holding path, spelt as messages name directories ("" for the root).
std::string ParentPath(const std::string& path)
{
    std::vector<std::string> parts = SplitArchivePath(path);
    if (!parts.empty())
        parts.pop_back();
    std::string parent;
    for (const std::string& part : parts)
        parent += "\\" + part;
    return parent;
}
} // namespace

std::vector<std::string> SplitArchivePath(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path)
    {
        if (c == '\\' || c == '/')
        {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        }
        else
            part += c;
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

CArchiveEditList::CArchiveEditList()
{
    m_base.bDirectory = true;
    m_root.bDirectory = true;
}

CArchiveEditList::~CArchiveEditList() = default;

Result CArchiveEditList::CheckName(ArchiveFormat format, const std::string& name)
{
    const std::size_t nMost =
        format == ArchiveFormat::Vpp ? VPP_NAME_SIZE - 1 : VP_MAX_NAME_LENGTH;
    if (name.empty())
        return Result::Fail("a name cannot be empty");
    if (name == "." || name == "..")
        return Result::Fail("\"" + name + "\" cannot be a name");
    if (name.find_first_of(std::string_view("\\/\0", 3)) != std::string::npos)
        return Result::Fail("a name cannot hold \\, / or a NUL byte");
    if (name.size() > nMost)
        return Result::Fail("the name is " + std::to_string(name.size()) +
                            " bytes long in Windows-1252; " +
                            (format == ArchiveFormat::Vpp ? ".VPP" : ".VP") +
                            " archives hold at most " + std::to_string(nMost));
    return Result::Ok();
}

Result CArchiveEditList::Open(const std::string& path)
{
    const int nKind = CORBISTAVDoc::KindOfName(path);
    if (nKind == ARCHIVE_KIND_NONE)
        return Result::Fail(path + ": the name must end in .vp, .vpc or .vpp");
    auto pSource = std::make_shared<CInputFile>();
    if (Result r = pSource->Open(path); !r)
        return r;
    m_pSource = pSource;
    m_strPath = path;
    m_format = nKind == ARCHIVE_KIND_VPP ? ArchiveFormat::Vpp : ArchiveFormat::Vp;
    m_bCompressAdded = m_format == ArchiveFormat::Vp && EndsWithNoCase(path, ".vpc");
    m_base = ArchiveEditNode();
    m_base.bDirectory = true;
    m_edits.clear();
    m_undone.clear();
    Result result = m_format == ArchiveFormat::Vpp ? ReadVppTree(path) : ReadVpTree(path);
    if (!result)
    {
        m_base.aChildren.clear();
        m_pSource.reset();
    }
    m_bOnDisk = static_cast<bool>(result);
    m_root = m_base;
    return result;
}

Result CArchiveEditList::New(const std::string& path)
{
    const int nKind = CORBISTAVDoc::KindOfName(path);
    if (nKind == ARCHIVE_KIND_NONE)
        return Result::Fail(path + ": the name must end in .vp, .vpc or .vpp");
    m_pSource.reset();
    m_strPath = path;
    m_format = nKind == ARCHIVE_KIND_VPP ? ArchiveFormat::Vpp : ArchiveFormat::Vp;
    m_bCompressAdded = m_format == ArchiveFormat::Vp && EndsWithNoCase(path, ".vpc");
    m_base = ArchiveEditNode();
    m_base.bDirectory = true;
    m_root = m_base;
    m_edits.clear();
    m_undone.clear();
    m_bOnDisk = false;
    return Result::Ok();
}

Result CArchiveEditList::ReadVpTree(const std::string& path)
{
    VpDirectory directory;
    if (Result r = ReadVpDirectory(*m_pSource, directory); !r)
        return Result::Fail(path + ": " + r.Text());
    if (directory.strSignature != "VPVP")
        return Result::Fail(path + ": not a .VP archive (no VPVP signature)");
    if (!directory.strIncomplete.empty())
        return Result::Fail(path + ": the archive was read only in part (" +
                            directory.strIncomplete + "); saving it would lose entries");
    const std::vector<std::string> paths = VpEntryPaths(directory.aEntries);
    std::vector<ArchiveEditNode*> stack{&m_base};
    for (std::size_t i = 0; i < directory.aEntries.size(); ++i)
    {
        const VpEntry& entry = directory.aEntries[i];
        if (entry.IsParent())
        {
            // A ".." at the root is dropped, as the reader ignores it.
            if (stack.size() > 1)
                stack.pop_back();
            continue;
        }
        ArchiveEditNode node;
        node.strName = entry.strName;
        node.tTime = entry.tTime;
        if (entry.IsDirectory())
        {
            node.bDirectory = true;
            ArchiveEditNode& parent = *stack.back();
            parent.aChildren.push_back(std::move(node));
            stack.push_back(&parent.aChildren.back());
            continue;
        }
        if (Result r = CheckEntryBounds(AsArchiveFile(entry), m_pSource->Size(),
                                        path + ": " + Cp1252ToUtf8(paths[i]));
            !r)
            return r;
        node.nOffset = entry.nOffset;
        node.nStoredSize = entry.nSize;
        stack.back()->aChildren.push_back(std::move(node));
    }
    return Result::Ok();
}

Result CArchiveEditList::ReadVppTree(const std::string& path)
{
    std::array<unsigned char, VPP_HEADER_SIZE> header{};
    std::int32_t nSignature = 0, nVersion = 0, nCount = 0, nArchiveSize = 0;
    CByteReader head(header);
    if (m_pSource->ReadAt(0, header.data(), header.size()) !=
            static_cast<std::int64_t>(header.size()) ||
        !head.ReadInt32(nSignature) || !head.ReadInt32(nVersion) || !head.ReadInt32(nCount) ||
        !head.ReadInt32(nArchiveSize))
        return Result::Fail(path + ": the archive header is truncated");
    if (nSignature != VPP_SIGNATURE || nVersion != 1)
        return Result::Fail(path + ": not a version 1 packfile; only those can be edited");
    if (nCount < 0)
        return Result::Fail(path + ": the file count " + std::to_string(nCount) + " is negative");
    std::int64_t p = CORBISTAVDoc::Align2048(VPP_DIRECTORY_OFFSET +
                                             static_cast<std::int64_t>(nCount) * VPP_ENTRY_SIZE);
    CRecordStream stream(*m_pSource, VPP_DIRECTORY_OFFSET, VPP_ENTRY_SIZE);
    for (std::int32_t i = 0; i < nCount; ++i)
    {
        CByteReader entry{std::span<const unsigned char>()};
        if (!stream.Next(entry))
            return Result::Fail(path + ": the directory is truncated: " + std::to_string(i) +
                                " of " + std::to_string(nCount) + " entries could be read");
        ArchiveEditNode node;
        std::int32_t nSize = 0;
        entry.ReadFixedName(VPP_NAME_SIZE, node.strName);
        entry.ReadInt32(nSize);
        if (nSize < 0 || p + nSize > m_pSource->Size())
            return Result::Fail(path + ": \\" + Cp1252ToUtf8(node.strName) +
                                ": the entry's data lies outside the archive");
        node.nOffset = p;
        node.nStoredSize = nSize;
        p += CORBISTAVDoc::Align2048(nSize);
        m_base.aChildren.push_back(std::move(node));
    }
    return Result::Ok();
}

Result CArchiveEditList::Apply(std::string label, std::function<Result(ArchiveEditNode& root)> edit)
{
    ArchiveEditNode trial = m_root;
    if (Result r = edit(trial); !r)
        return r;
    if (Result r = CheckSize(trial, m_format); !r)
        return r;
    m_root = std::move(trial);
    m_edits.push_back({std::move(label), std::move(edit)});
    m_undone.clear();
    return Result::Ok();
}

Result CArchiveEditList::Rebuild()
{
    m_root = m_base;
    for (const Edit& edit : m_edits)
        if (Result r = edit.apply(m_root); !r)
            return r;
    return Result::Ok();
}

std::string CArchiveEditList::UndoText() const
{
    return m_edits.empty() ? std::string() : m_edits.back().strLabel;
}

std::string CArchiveEditList::RedoText() const
{
    return m_undone.empty() ? std::string() : m_undone.back().strLabel;
}

void CArchiveEditList::Undo()
{
    if (m_edits.empty())
        return;
    m_undone.push_back(std::move(m_edits.back()));
    m_edits.pop_back();
    (void)Rebuild(); // every edit kept was made on the very tree it is replayed on
}

void CArchiveEditList::Redo()
{
    if (m_undone.empty())
        return;
    Edit edit = std::move(m_undone.back());
    m_undone.pop_back();
    (void)edit.apply(m_root);
    m_edits.push_back(std::move(edit));
}

Result CArchiveEditList::AddPaths(const std::string& dir, const std::vector<std::string>& diskPaths,
                                  bool bLz41)
{
    const std::string dirPath = m_format == ArchiveFormat::Vpp ? std::string() : dir;
    const bool bCompress = bLz41 || m_bCompressAdded;
    // The files are looked at once, now; the edit replays what was found.
    ArchiveEditNode trial = m_root;
    ArchiveEditNode* pDir = &trial;
    std::string resolved;
    for (const std::string& part : SplitArchivePath(dirPath))
    {
        if (Result r = CheckName(m_format, part); !r)
            return Result::Fail(Shown(dirPath) + ": " + r.Text());
        ArchiveEditNode* pChild = FindChild(*pDir, part);
        if (pChild && !pChild->bDirectory)
            return Result::Fail(Shown(resolved + "\\" + part) + ": a file, not a directory");
        if (!pChild)
        {
            pChild = &pDir->aChildren.emplace_back();
            pChild->strName = part;
            pChild->bDirectory = true;
            pChild->state = EditState::Added;
        }
        resolved += "\\" + pChild->strName;
        pDir = pChild;
    }
    CDiskAdder adder(m_format, bCompress);
    for (const std::string& diskPath : diskPaths)
        if (Result r = adder.Add(*pDir, resolved, diskPath, true); !r)
            return r;
    std::string label = diskPaths.size() == 1
                            ? "Add " + std::filesystem::path(diskPaths[0]).filename().string()
                            : "Add " + std::to_string(diskPaths.size()) + " items";
    return Apply(std::move(label),
                 [result = std::move(trial)](ArchiveEditNode& root) -> Result
                 {
                     root = result;
                     return Result::Ok();
                 });
}

Result CArchiveEditList::Replace(const std::string& entryPath, const std::string& diskPath,
                                 bool bLz41)
{
    const ArchiveEditNode* pNode = FindNode(m_root, entryPath);
    if (!pNode || pNode->bDirectory)
        return Result::Fail(Shown(entryPath) + ": no such file in the archive");
    struct stat st = {};
    if (::stat(diskPath.c_str(), &st) != 0)
        return Result::Fail(diskPath + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Result::Fail(diskPath + ": refused: it is not a regular file");
    const bool bCompress = m_format == ArchiveFormat::Vp && (bLz41 || m_bCompressAdded);
    if (st.st_size == 0 && m_format == ArchiveFormat::Vp && !bCompress)
        return Result::Fail(diskPath + ": refused: the file is empty, and an entry of size 0 "
                                       "would read as a directory (--lz41 stores it)");
    ArchiveEditNode replacement = *pNode;
    if (replacement.state == EditState::Unchanged)
        replacement.state = EditState::Replaced;
    replacement.strDiskPath = diskPath;
    replacement.nDiskSize = st.st_size;
    replacement.tTime = TimeOf(st);
    replacement.bCompress = bCompress && ShouldCompress(replacement.strName, st.st_size);
    return Apply("Replace " + LastName(entryPath),
                 [entryPath, replacement](ArchiveEditNode& root) -> Result
                 {
                     ArchiveEditNode* p = FindNode(root, entryPath);
                     if (!p || p->bDirectory)
                         return Result::Fail(Shown(entryPath) + ": no such file in the archive");
                     *p = replacement;
                     return Result::Ok();
                 });
}

Result CArchiveEditList::Remove(const std::vector<std::string>& paths)
{
    std::string label = paths.size() == 1 ? "Delete " + LastName(paths[0])
                                          : "Delete " + std::to_string(paths.size()) + " items";
    return Apply(std::move(label),
                 [paths](ArchiveEditNode& root) -> Result
                 {
                     for (const std::string& path : paths)
                     {
                         ArchiveEditNode* pNode = nullptr;
                         ArchiveEditNode* pParent = nullptr;
                         if (Result r = FindBelowRoot(root, path,
                                                      "the root directory cannot be deleted",
                                                      pNode, pParent);
                             !r)
                             return r;
                         EraseChild(*pParent, pNode);
                     }
                     return Result::Ok();
                 });
}

Result CArchiveEditList::Rename(const std::string& path, const std::string& newName)
{
    const ArchiveFormat format = m_format;
    return Apply("Rename " + LastName(path),
                 [path, newName, format](ArchiveEditNode& root) -> Result
                 {
                     ArchiveEditNode* pNode = nullptr;
                     ArchiveEditNode* pParent = nullptr;
                     if (Result r = FindBelowRoot(root, path,
                                                  "the root directory has no name to change",
                                                  pNode, pParent);
                         !r)
                         return r;
                     if (Result r = CheckName(format, newName); !r)
                         return Result::Fail(Cp1252ToUtf8(newName) + ": " + r.Text());
                     if (Result r = CheckFree(*pParent, newName, ParentPath(path), pNode); !r)
                         return r;
                     pNode->strName = newName;
                     return Result::Ok();
                 });
}

Result CArchiveEditList::MakeDirectory(const std::string& parentDir, const std::string& name)
{
    if (m_format == ArchiveFormat::Vpp)
        return Result::Fail("a .VPP archive has no directories");
    const ArchiveFormat format = m_format;
    return Apply("New Folder " + Cp1252ToUtf8(name),
                 [parentDir, name, format](ArchiveEditNode& root) -> Result
                 {
                     ArchiveEditNode* pDir = nullptr;
                     if (Result r = FindDirectory(root, parentDir, pDir); !r)
                         return r;
                     if (Result r = CheckName(format, name); !r)
                         return Result::Fail(Cp1252ToUtf8(name) + ": " + r.Text());
                     if (Result r = CheckFree(*pDir, name, parentDir); !r)
                         return r;
                     ArchiveEditNode& created = pDir->aChildren.emplace_back();
                     created.strName = name;
                     created.bDirectory = true;
                     created.state = EditState::Added;
                     return Result::Ok();
                 });
}

Result CArchiveEditList::Move(const std::string& path, const std::string& toDir)
{
    if (m_format == ArchiveFormat::Vpp)
        return Result::Fail("a .VPP archive has no directories to move entries into");
    return Apply("Move " + LastName(path),
                 [path, toDir](ArchiveEditNode& root) -> Result
                 {
                     ArchiveEditNode* pNode = nullptr;
                     ArchiveEditNode* pParent = nullptr;
                     if (Result r = FindBelowRoot(root, path, "the root directory cannot be moved",
                                                  pNode, pParent);
                         !r)
                         return r;
                     ArchiveEditNode* pTarget = nullptr;
                     if (Result r = FindDirectory(root, toDir, pTarget); !r)
                         return r;
                     if (pTarget == pParent)
                         return Result::Ok();
                     // A directory cannot go into itself or below itself.
                     const std::vector<std::string> fromParts = SplitArchivePath(path);
                     const std::vector<std::string> toParts = SplitArchivePath(toDir);
                     if (pNode->bDirectory && toParts.size() >= fromParts.size() &&
                         std::equal(fromParts.begin(), fromParts.end(), toParts.begin(),
                                    [](const std::string& a, const std::string& b)
                                    { return EqualsNoCaseAscii(a, b); }))
                         return Result::Fail(Shown(toDir) + ": refused: it lies in " +
                                             Shown(path) + " itself");
                     if (Result r = CheckFree(*pTarget, pNode->strName, toDir); !r)
                         return r;
                     ArchiveEditNode moved = std::move(*pNode);
                     EraseChild(*pParent, pNode);
                     // The erase may have moved the target's node: find it again.
                     ArchiveEditNode* pInto = nullptr;
                     (void)FindDirectory(root, toDir, pInto);
                     pInto->aChildren.push_back(std::move(moved));
                     return Result::Ok();
                 });
}

std::vector<EditRow> CArchiveEditList::Rows() const
{
    std::vector<EditRow> rows;
    CollectRows(m_root, "", &rows, nullptr);
    return rows;
}

std::vector<std::string> CArchiveEditList::Directories() const
{
    std::vector<std::string> dirs;
    CollectRows(m_root, "", nullptr, &dirs);
    return dirs;
}

bool CArchiveEditList::IsFile(const std::string& path) const
{
    const ArchiveEditNode* p = FindNode(const_cast<ArchiveEditNode&>(m_root), path);
    return p && !p->bDirectory;
}

bool CArchiveEditList::IsDirectory(const std::string& path) const
{
    const ArchiveEditNode* p = FindNode(const_cast<ArchiveEditNode&>(m_root), path);
    return p && p->bDirectory;
}

Result CArchiveEditList::ReadContent(const std::string& entryPath,
                                     std::vector<unsigned char>& content) const
{
    return ReadStreamed(
        [&](const CEntryReader::Sink& sink) { return StreamContent(entryPath, sink); }, content);
}

Result CArchiveEditList::StreamContent(
    const std::string& entryPath,
    const std::function<Result(std::span<const unsigned char>)>& sink) const
{
    const ArchiveEditNode* p = FindNode(const_cast<ArchiveEditNode&>(m_root), entryPath);
    if (!p || p->bDirectory)
        return Result::Fail(Shown(entryPath) + ": no such file in the archive");
    if (p->FromDisk())
    {
        // Read at the size it had when added; a file that changed since is refused.
        CDiskFileInput input(p->strDiskPath, p->nDiskSize);
        std::vector<unsigned char> buffer(
            static_cast<std::size_t>(std::min<std::int64_t>(p->nDiskSize + 1, 1 << 20)));
        for (;;)
        {
            std::size_t nGot = 0;
            if (Result r = input.Read(buffer, nGot); !r)
                return r;
            if (nGot > 0)
                if (Result r = sink({buffer.data(), nGot}); !r)
                    return r;
            if (nGot < buffer.size())
                return Result::Ok();
        }
    }
    CEntryReader reader(*m_pSource, m_format == ArchiveFormat::Vp ? CEntryReader::Mode::Content
                                                                  : CEntryReader::Mode::Stored);
    if (Result r = reader.Open(p->StoredFile(), Shown(entryPath)); !r)
        return r;
    return reader.Stream(sink);
}

Result CArchiveEditList::Save(const std::string& targetPath, const SaveOptions& options)
{
    const std::string named = targetPath.empty() ? m_strPath : targetPath;
    const int nKind = CORBISTAVDoc::KindOfName(named);
    if (nKind == ARCHIVE_KIND_NONE)
        return Result::Fail(named + ": the name must end in .vp, .vpc or .vpp");
    // An archive linked into a game folder stays a link: the file it names is replaced.
    std::string target = named;
    std::error_code ec;
    if (std::filesystem::is_symlink(named, ec))
        if (const auto resolved = std::filesystem::weakly_canonical(named, ec); !ec)
            target = resolved.string();
    const bool bSameFile = named == m_strPath || std::filesystem::equivalent(target, m_strPath, ec);
    CArchiveSaver saver(m_root, m_pSource, m_format == ArchiveFormat::Vp);
    // A copy saved as .vpc is compressed through; the archive saved in place keeps every
    // untouched entry as it is stored.
    saver.SetCompressAll(!bSameFile && EndsWithNoCase(named, ".vpc") &&
                         !EndsWithNoCase(m_strPath, ".vpc"));
    const ArchiveFormat format = nKind == ARCHIVE_KIND_VPP ? ArchiveFormat::Vpp : ArchiveFormat::Vp;
    if (Result r = saver.Save(target, format, options); !r)
        return r;
    return Open(named);
}
