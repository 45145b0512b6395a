#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CDestinationDir.h"
#include "CEntryReader.h"
#include "Result.h"

class CORBISTAVDoc;
class IByteSource;

// Writes entries of the open archive into a destination directory, their content (what a
// compressed entry decompresses to) or with SetRaw their stored bytes: flat, or below it
// in the archive's directory structure. Names are checked before
// anything is created, so nothing is ever written outside the destination.
class CEntryExtractor
{
public:
    enum class Layout
    {
        Flat,                // side by side
        CreateDirectories,   // in the archive's directories, created where missing
        ExistingDirectories, // in the archive's directories, which must exist (any case)
    };

    CEntryExtractor(const CORBISTAVDoc& doc, IByteSource& archive, CDestinationDir destination,
                    Layout layout);
    CEntryExtractor(const CORBISTAVDoc& doc, IByteSource& archive, CDestinationDir destination,
                    bool bKeepDirs);

    void SetRaw(bool bRaw);
    // Gives each written file the entry's time, where the archive has one.
    void SetRestoreTimes(bool bRestore) { m_bRestoreTimes = bRestore; }
    // Told the number of bytes each time a piece of a file has been written.
    void SetWrittenHandler(std::function<void(std::int64_t)> handler);

    // Writes one file record; on failure the text names the entry and the cause.
    // pWrittenPath receives the path of the file written.
    Result Extract(int nFile, std::string* pWrittenPath = nullptr);
    // Makes one of the archive's directories below the destination, so that empty ones
    // come back too.
    Result MakeDirectory(int nDir);

    // A name that can be one component of a path on disk: not empty, not "." or
    // "..", no "/", "\" or NUL.
    static bool IsSafeName(std::string_view rawName);
    // "\data\tables\ships.tbl" in UTF-8, the name users see for an entry.
    static std::string ArchivePathOf(const CORBISTAVDoc& doc, int nFile);

private:
    Result DirectoryFor(int nDir, const CDestinationDir*& pDir);
    int KernelCopySource();
    Result WriteStored(const ArchiveFile& file, int fd, const std::string& target);

    const CORBISTAVDoc& m_doc;
    IByteSource& m_archive;
    CDestinationDir m_destination;
    Layout m_layout;
    std::map<int, CDestinationDir> m_subdirs; // by directory index, opened once
    CEntryReader m_reader;                    // its buffers are kept between entries
    std::function<void(std::int64_t)> m_onWritten;
    bool m_bRestoreTimes = false;
    // The archive opened again by its path, for stored bytes the kernel copies.
    std::shared_ptr<int> m_pArchiveFd;
};
