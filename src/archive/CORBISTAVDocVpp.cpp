// The .VPP reader of CORBISTAVDoc: a flat file list grouped into one directory per type.
#include "CORBISTAVDoc.h"

#include <array>
#include <limits>

#include "CByteReader.h"
#include "CRecordStream.h"
#include "FileTypes.h"
#include "IByteSource.h"

namespace
{
constexpr std::size_t VPP_HEADER_SIZE = 16;
constexpr std::int64_t VPP_DIRECTORY_OFFSET = 2048;
constexpr std::size_t VPP_ENTRY_SIZE = 64;
constexpr std::size_t VPP_NAME_SIZE = 60;
constexpr std::int32_t VPP_PACKFILE_SIGNATURE = 0x51890ACE;
} // namespace

int CORBISTAVDoc::ReadVpp(IByteSource& file)
{
    m_nArchiveKind = ARCHIVE_KIND_VPP;
    BeginRead();
    std::array<int, FILE_TYPE_COUNT> typeDir;
    typeDir.fill(-1);

    ResetDir(0);
    m_dirs[0].nType = -1;

    std::array<unsigned char, VPP_HEADER_SIZE> header{};
    std::int32_t nSignature = 0, nVersion = 0, nFileCount = 0, nArchiveSize = 0;
    CByteReader head(header);
    if (file.ReadAt(0, header.data(), header.size()) != static_cast<std::int64_t>(header.size()) ||
        !head.ReadInt32(nSignature) || !head.ReadInt32(nVersion) || !head.ReadInt32(nFileCount) ||
        !head.ReadInt32(nArchiveSize))
    {
        AddWarning("The archive header is truncated.");
        nFileCount = 0;
    }
    else if (nSignature == VPP_PACKFILE_SIGNATURE && nVersion != 1)
    {
        // Red Faction 2 and later games share the signature but not the layout: their
        // directory read as version 1 gives wrong names and offsets, or nothing at all.
        AddWarning("Version " + std::to_string(nVersion) + " packfiles are not supported.");
        nFileCount = 0;
    }
    else if (nFileCount < 0)
    {
        AddWarning("The archive's file count " + std::to_string(nFileCount) + " is negative.");
        nFileCount = 0;
    }

    // The header block counts as 32 entry-sized slots before the directory.
    std::int64_t p = Align2048((static_cast<std::int64_t>(nFileCount) + 32) * 64);
    std::int32_t nToRead = nFileCount;
    if (nToRead > MAX_FILES)
    {
        AddWarning("The archive holds " + std::to_string(nFileCount) + " files; only the first " +
                   std::to_string(MAX_FILES) + " were read.");
        nToRead = MAX_FILES;
    }

    CRecordStream stream(file, VPP_DIRECTORY_OFFSET, VPP_ENTRY_SIZE);
    std::int32_t i = 0;
    for (; i < nToRead; ++i)
    {
        CByteReader entry{std::span<const unsigned char>()};
        if (!stream.Next(entry))
        {
            AddWarning("The archive's directory is truncated: " + std::to_string(i) + " of " +
                       std::to_string(nFileCount) + " entries could be read.");
            break;
        }
        std::string name;
        std::int32_t nSize = 0;
        entry.ReadFixedName(VPP_NAME_SIZE, name);
        entry.ReadInt32(nSize);

        // Offsets are only implied by the sizes before them: once one cannot be
        // placed, none of the following can.
        if (nSize < 0)
        {
            AddWarning("Entry " + std::to_string(i + 1) + " has an impossible size (" +
                       std::to_string(nSize) + "); it and the " +
                       std::to_string(nFileCount - i - 1) + " entries after it were left out.");
            break;
        }
        if (p > std::numeric_limits<std::int32_t>::max())
        {
            AddWarning("Entry " + std::to_string(i + 1) +
                       " would start beyond 2 GiB; it and the entries after it were left out.");
            break;
        }

        const int f = m_nFileCount;
        ArchiveFile& rec = m_files[f];
        rec.nOffset = static_cast<std::int32_t>(p);
        rec.nSize = nSize;
        rec.strName = std::move(name);
        rec.tTime = 0;
        rec.nType = GetFileType(rec.strName);
        p += Align2048(nSize);

        const int t = rec.nType;
        if (typeDir[t] == -1)
        {
            const int d = ++m_nDirCount;
            ResetDir(d);
            ArchiveDir& dir = m_dirs[d];
            dir.nParent = 0;
            dir.strName = GetTypeDirName(t);
            dir.nType = t;
            ArchiveDir& root = m_dirs[0];
            root.aChildren[root.nChildren++] = d;
            typeDir[t] = d;
        }
        rec.nDir = typeDir[t];
        ArchiveDir& dir = m_dirs[rec.nDir];
        dir.aFiles.push_back(f);
        ++dir.nFiles;
        ++m_nFileCount;
    }
    ++m_nDirCount;

    EndRead();
    return 1;
}
