#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ArchiveFile.h"
#include "Result.h"

class IByteSource;

// One entry of a .VP directory as it stands, whatever the document's capacities.
struct VpEntry
{
    std::int32_t nOffset = 0;
    std::int32_t nSize = 0;
    std::string strName; // Windows-1252, as stored
    std::int32_t tTime = 0;

    bool IsDirectory() const { return nSize == 0; }
    bool IsParent() const { return nSize == 0 && strName == ".."; }
};

// Every entry of a .VP archive's directory, in order: what the archive tools (compress,
// decompress, verify) work on, so that nothing beyond the browser's tables is lost.
struct VpDirectory
{
    std::string strSignature;
    std::vector<VpEntry> aEntries;
    // Empty when the whole directory was read; else why it was read only in part.
    std::string strIncomplete;
};

// A file entry as the entry readers take it.
ArchiveFile AsArchiveFile(const VpEntry& entry);

// Reads the whole directory. Fails only when the header cannot be read; a directory that
// ends early or lies outside the file is read as far as it goes and says so.
Result ReadVpDirectory(IByteSource& file, VpDirectory& directory);

// The archive path of each file entry ("\data\tables\ships.tbl", Windows-1252), "" for
// directory entries; a ".." at the root stays at the root, as the reader has it.
std::vector<std::string> VpEntryPaths(const std::vector<VpEntry>& entries);
