#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ArchiveFile.h"

// What a pending edit did to a file.
enum class EditState
{
    Unchanged, // its stored bytes, wherever it now stands and whatever its name
    Added,     // a directory: made by an edit
    Replaced,
};

// One file or directory of an archive as it will be saved.
struct ArchiveEditNode
{
    std::string strName; // Windows-1252
    bool bDirectory = false;
    EditState state = EditState::Unchanged;
    std::int32_t tTime = 0;
    // Unchanged: where its bytes lie in the archive being edited.
    std::int64_t nOffset = 0;
    std::int64_t nStoredSize = 0;
    // Added or replaced: the file on disk, with the size it had when the edit was made.
    std::string strDiskPath;
    std::int64_t nDiskSize = 0;
    bool bCompress = false; // stored in the LZ41 layout when that is smaller
    std::vector<ArchiveEditNode> aChildren;

    bool FromDisk() const { return !bDirectory && state != EditState::Unchanged; }
    // An unchanged file as the readers of the archive being edited take it. Offsets and
    // sizes came from that archive's 32-bit fields, so they fit.
    ArchiveFile StoredFile() const
    {
        ArchiveFile file;
        file.nOffset = static_cast<std::int32_t>(nOffset);
        file.nSize = static_cast<std::int32_t>(nStoredSize);
        file.strName = strName;
        file.tTime = tTime;
        return file;
    }
};

// The archive kinds an edit list can save.
enum class ArchiveFormat
{
    Vp,  // FreeSpace: a tree of directories, names of up to 31 bytes, LZ41 entries
    Vpp, // Red Faction packfile, version 1: one flat list, names of up to 59 bytes
};

struct SaveOptions
{
    // Told the bytes written so far and the total; returning false cancels the save.
    std::function<bool(std::int64_t nDone, std::int64_t nTotal)> onProgress;
};
