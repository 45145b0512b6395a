#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ArchiveEditNode.h"
#include "Result.h"

class CInputFile;

// One file of the archive as it would be saved now.
struct EditRow
{
    std::string strDir;  // "\data\tables", "" at the root (Windows-1252)
    std::string strName; // Windows-1252
    std::int64_t nSize = 0; // stored bytes, or the file's size for an added or replaced one
    std::int32_t tTime = 0;
    EditState state = EditState::Unchanged;

    std::string Path() const { return strDir + "\\" + strName; }
};

// The names of an archive path's directories and file, in order, with \ or / between.
std::vector<std::string> SplitArchivePath(const std::string& path);

// An archive opened for editing: its stored directory and a list of pending edits over it.
// Nothing touches the file until Save, which writes the whole archive beside it and puts
// it in place atomically. Each edit is checked when it is made and refused with the
// reason, leaving the list as it was; each can be undone and redone.
//
// Paths are archive paths in Windows-1252 ("\data\tables\ships.tbl", "/" taken for "\"),
// found without regard to ASCII case as the games find them; "" or "\" is the root.
class CArchiveEditList
{
public:
    CArchiveEditList();
    ~CArchiveEditList();
    CArchiveEditList(const CArchiveEditList&) = delete;
    CArchiveEditList& operator=(const CArchiveEditList&) = delete;

    // An archive read whole for editing; one read only in part, or with an entry whose
    // bytes lie outside it, is refused (saving it would lose or invent entries).
    Result Open(const std::string& path);
    // An empty archive to fill, saved at path (its kind from the name).
    Result New(const std::string& path);

    ArchiveFormat Format() const { return m_format; }
    const std::string& Path() const { return m_strPath; }
    // Files added to a .vpc are stored compressed, as its other entries are.
    bool CompressesAdded() const { return m_bCompressAdded; }

    // The edits. bLz41: store added files compressed where that makes them smaller.
    // Files and folders (their trees) into the directory dir; a file replaces an entry of
    // the same name, a folder merges into a directory of the same name.
    Result AddPaths(const std::string& dir, const std::vector<std::string>& diskPaths,
                    bool bLz41 = false);
    Result Replace(const std::string& entryPath, const std::string& diskPath, bool bLz41 = false);
    // Entries, or directories with everything in them, as one edit.
    Result Remove(const std::vector<std::string>& paths);
    Result Rename(const std::string& path, const std::string& newName);
    Result MakeDirectory(const std::string& parentDir, const std::string& name);
    // An entry or directory into another directory, keeping its name.
    Result Move(const std::string& path, const std::string& toDir);

    bool CanUndo() const { return !m_edits.empty(); }
    bool CanRedo() const { return !m_undone.empty(); }
    // What the next undo or redo does ("Rename ships.tbl"), for menus.
    std::string UndoText() const;
    std::string RedoText() const;
    void Undo();
    void Redo();
    // Pending edits, or a new archive not yet saved.
    bool IsModified() const { return !m_edits.empty() || !m_bOnDisk; }

    // The archive as it would be saved: every file, in saving order.
    std::vector<EditRow> Rows() const;
    // Every directory but the root, in saving order.
    std::vector<std::string> Directories() const;
    bool IsFile(const std::string& path) const;
    bool IsDirectory(const std::string& path) const;
    // The content of a file as it would be saved (an added or replaced file's new content).
    Result ReadContent(const std::string& entryPath, std::vector<unsigned char>& content) const;
    // The same handed to sink piece by piece, so a large file never lies whole in memory.
    Result StreamContent(const std::string& entryPath,
                         const std::function<Result(std::span<const unsigned char>)>& sink) const;
    // The tree as it would be saved.
    const ArchiveEditNode& Root() const { return m_root; }

    // Whether name can stand in a directory of an archive of this kind; the text says why not.
    static Result CheckName(ArchiveFormat format, const std::string& name);

    // Writes the archive at targetPath (empty: its own path), of the kind its name says
    // (.vp, .vpc compressed, .vpp). On any failure or cancel the file there stays as it
    // was. Afterwards the list edits the saved archive, with no pending edits.
    Result Save(const std::string& targetPath = {}, const SaveOptions& options = {});

private:
    struct Edit;

    Result Apply(std::string label, std::function<Result(ArchiveEditNode& root)> edit);
    Result Rebuild();
    Result ReadVpTree(const std::string& path);
    Result ReadVppTree(const std::string& path);

    ArchiveFormat m_format = ArchiveFormat::Vp;
    std::string m_strPath;
    bool m_bCompressAdded = false;
    bool m_bOnDisk = false;
    std::shared_ptr<CInputFile> m_pSource; // the archive being edited, held open
    ArchiveEditNode m_base;             // as stored
    ArchiveEditNode m_root;             // with the edits
    std::vector<Edit> m_edits;
    std::vector<Edit> m_undone;
};
