// The .VP reader of CORBISTAVDoc.
#include "CORBISTAVDoc.h"

#include <array>

#include "CByteReader.h"
#include "CRecordStream.h"
#include "FileTypes.h"
#include "IByteSource.h"
#include "VpFormat.h"

int CORBISTAVDoc::ReadVp(IByteSource& file, const std::string& path)
{
    m_nArchiveKind = ARCHIVE_KIND_VP;
    BeginRead();
    FindGameDir(path);

    ResetDir(0);
    int c = 0;

    std::array<unsigned char, VP_HEADER_SIZE> header{};
    std::int32_t nSignature = 0, nVersion = 0, nDirOffset = 0, nEntryCount = 0;
    CByteReader head(header);
    if (file.ReadAt(0, header.data(), header.size()) != static_cast<std::int64_t>(header.size()) ||
        !head.ReadInt32(nSignature) || !head.ReadInt32(nVersion) || !head.ReadInt32(nDirOffset) ||
        !head.ReadInt32(nEntryCount))
    {
        AddWarning("The archive header is truncated.");
        nEntryCount = 0;
    }
    else if (nEntryCount < 0)
    {
        AddWarning("The archive's entry count " + std::to_string(nEntryCount) + " is negative.");
        nEntryCount = 0;
    }
    else if (nEntryCount > 0 && (nDirOffset < 0 || nDirOffset >= file.Size()))
    {
        AddWarning("The archive's directory offset " + std::to_string(nDirOffset) +
                   " lies outside the file (" + std::to_string(file.Size()) + " bytes).");
        nEntryCount = 0;
    }

    // Entries of directories that found no room are skipped together with everything
    // inside them, so that their files never land in the wrong directory.
    int nSkipDepth = 0;
    int nFilesOverCapacity = 0, nDirsSkipped = 0, nFilesInSkippedDirs = 0;
    bool bTableFull = false, bSlotsFull = false;

    CRecordStream stream(file, nDirOffset, VP_ENTRY_SIZE);
    std::int32_t i = 0;
    for (; i < nEntryCount; ++i)
    {
        CByteReader entry{std::span<const unsigned char>()};
        if (!stream.Next(entry))
            break;
        std::int32_t nOffset = 0, nSize = 0, tTime = 0;
        std::string name;
        entry.ReadInt32(nOffset);
        entry.ReadInt32(nSize);
        entry.ReadFixedName(VP_NAME_SIZE, name);
        entry.ReadInt32(tTime);

        if (nSize != 0)
        {
            if (nSkipDepth > 0)
                ++nFilesInSkippedDirs;
            else if (m_nFileCount >= MAX_FILES)
                ++nFilesOverCapacity;
            else
            {
                const int f = m_nFileCount;
                ArchiveFile& rec = m_files[f];
                rec.nOffset = nOffset;
                rec.nSize = nSize;
                rec.strName = std::move(name);
                rec.tTime = tTime;
                rec.nDir = c;
                rec.nType = GetFileType(rec.strName);
                ArchiveDir& dir = m_dirs[c];
                dir.aFiles.push_back(f);
                ++dir.nFiles;
                ++m_nFileCount;
            }
        }
        else if (name == "..")
        {
            if (nSkipDepth > 0)
                --nSkipDepth;
            else if (c != 0) // ".." at the root stays at the root
                c = m_dirs[c].nParent;
        }
        else if (nSkipDepth > 0)
        {
            ++nSkipDepth;
            ++nDirsSkipped;
        }
        else if (m_nDirCount + 1 >= MAX_DIRS || m_dirs[c].nChildren >= MAX_SUBDIRS)
        {
            (m_nDirCount + 1 >= MAX_DIRS ? bTableFull : bSlotsFull) = true;
            nSkipDepth = 1;
            ++nDirsSkipped;
        }
        else
        {
            const int d = ++m_nDirCount;
            ResetDir(d);
            ArchiveDir& dir = m_dirs[d];
            dir.nParent = c;
            dir.strName = std::move(name);
            ArchiveDir& parent = m_dirs[c];
            parent.aChildren[parent.nChildren++] = d;
            c = d;
        }
    }
    ++m_nDirCount;

    if (i < nEntryCount)
        AddWarning("The archive's directory is truncated: " + std::to_string(i) + " of " +
                   std::to_string(nEntryCount) + " entries could be read.");
    if (nFilesOverCapacity > 0)
        AddWarning("The archive holds more than " + std::to_string(MAX_FILES) + " files; " +
                   std::to_string(nFilesOverCapacity) + " files were left out.");
    if (nDirsSkipped > 0)
    {
        std::string text = std::to_string(nDirsSkipped) + " directories were left out (";
        if (bSlotsFull)
            text +=
                "a directory holds more than " + std::to_string(MAX_SUBDIRS) + " subdirectories";
        if (bTableFull)
            text += std::string(bSlotsFull ? "; " : "") + "the archive holds more than " +
                    std::to_string(MAX_DIRS - 1) + " directories";
        text += ")";
        if (nFilesInSkippedDirs > 0)
            text += ", with the " + std::to_string(nFilesInSkippedDirs) + " files in them";
        AddWarning(text + ".");
    }

    EndRead();
    return 1;
}
