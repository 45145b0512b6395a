#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ArchiveDir.h"
#include "ArchiveFile.h"
#include "ArchiveLimits.h"
#include "Result.h"

class IByteSource;
class IDocumentObserver;
class IMessageSink;

// The one in-memory model of the open archive: fixed tables of directories and files.
class CORBISTAVDoc
{
public:
    // Looks up a game's configured directory (game id, edition); empty when none.
    using GamePathLookup = std::function<std::string(int nGameId, int nEdition)>;

    enum class OpenResult
    {
        Read,        // a reader filled the tables (see IsReadComplete)
        OpenFailed,  // the file could not be opened; the document is unchanged
        Empty,       // a file of length 0: nothing is read, nothing is said
        Unsupported, // neither .VPP nor .VP: "Unsupported file extension." was shown
    };

    CORBISTAVDoc();
    ~CORBISTAVDoc();
    CORBISTAVDoc(const CORBISTAVDoc&) = delete;
    CORBISTAVDoc& operator=(const CORBISTAVDoc&) = delete;

    void SetObserver(IDocumentObserver* pObserver) { m_pObserver = pObserver; }
    void SetMessageSink(IMessageSink* pSink) { m_pMessageSink = pSink; }
    void SetGamePathLookup(GamePathLookup lookup) { m_gamePathLookup = std::move(lookup); }

    // The document-open sequence: opens the file and hands it to Serialize. On
    // OpenFailed, Result holds the cause.
    OpenResult OnOpenDocument(const std::string& path, Result* pError = nullptr);

    // The archive kind a file name asks for: ".VPP" anywhere in the upper-cased name, else
    // ".VP" anywhere; ARCHIVE_KIND_NONE for neither.
    static int KindOfName(const std::string& path);
    // Picks the reader by KindOfName. Returns false when the extension is not supported.
    bool Serialize(IByteSource& file, const std::string& path);

    int ReadVp(IByteSource& file, const std::string& path);
    int ReadVpp(IByteSource& file);

    void ResetDir(int nDir);
    std::string GetDirPath(int nDir) const;
    static std::int64_t Align2048(std::int64_t n);

    // Full path of the open archive: the file that data consumers read from.
    const std::string& GetPathName() const { return m_strPathName; }
    // False when the last read stopped early or left entries out; GetReadWarning says why.
    bool IsReadComplete() const { return m_strReadWarning.empty(); }
    const std::string& GetReadWarning() const { return m_strReadWarning; }

    std::int32_t m_nDirCount = 0;
    std::int32_t m_nFileCount = 0;
    // Allocated once; records beyond the counts are never read, so they are not cleared.
    std::unique_ptr<ArchiveDir[]> m_dirs;
    std::unique_ptr<ArchiveFile[]> m_files;
    void* m_hAllFilesItem = nullptr; // owned by the directory tree view
    std::string m_strGameDir;
    std::int32_t m_nArchiveKind = ARCHIVE_KIND_NONE;

private:
    void BeginRead();
    void EndRead();
    void AddWarning(const std::string& text);
    void FindGameDir(const std::string& path);

    IDocumentObserver* m_pObserver = nullptr;
    IMessageSink* m_pMessageSink = nullptr;
    GamePathLookup m_gamePathLookup;
    std::string m_strPathName;
    std::string m_strReadWarning;
};
