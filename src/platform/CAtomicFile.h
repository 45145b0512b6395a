#pragma once

#include <cstdint>
#include <string>

#include "Result.h"

// A file that takes its name only once it is complete, so that whatever happens to the
// process, the old file of that name stays whole and no half-written one appears. It is
// written as an unnamed file (O_TMPFILE) in the target's directory and named with linkat;
// where the file system has no unnamed files, as a hidden temporary beside the target,
// renamed over it. A named temporary is removed on every failure, by the destructor, and
// at SIGINT/SIGTERM/SIGHUP; one left by a process killed outright is removed the next
// time the same target is written.
class CAtomicFile
{
public:
    enum class Sync
    {
        // The bytes reach the disk before the name does, and the name before Commit
        // returns: after a power cut the new file is there (settings).
        Durable,
        // The bytes reach the disk before the name does: after a power cut the old file
        // or the new one is there, whole (archives, where a second flush would cost
        // half again the time of writing them).
        BeforeNaming,
        // Only when an existing file is replaced: a new one loses nothing (extraction).
        WhenReplacing,
    };

    CAtomicFile() = default;
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // targetPath is taken as it stands: a symbolic link of that name is replaced, not followed.
    Result Create(const std::string& targetPath, Sync sync = Sync::Durable);
    // The file name in the directory held open as dirFd, which must stay open until Commit;
    // dirPath names that directory in messages.
    Result CreateAt(int dirFd, const std::string& dirPath, const std::string& name,
                    Sync sync = Sync::Durable);

    int Fd() const { return m_fd; }
    const std::string& TargetPath() const { return m_strTarget; }
    // For large files written front to back: tells that the bytes before nEnd are written.
    // The disk starts on them at once, and what came a step earlier is waited for and
    // dropped from memory, so the flush before naming finds little left and a large save
    // holds a few megabytes of memory, not the whole archive. Bytes written again below
    // nEnd later are flushed by Commit as any others.
    void WrittenUpTo(std::int64_t nEnd);
    // Gives the written file its name, replacing what had it. The file keeps the
    // permissions of the one it replaces.
    Result Commit();
    // Drops what was written; the target stays as it was.
    void Discard();

private:
    Result Failed(int nError) const;
    Result NameUnnamed();
    Result RenameTemporary();
    void SyncDirectory() const;

    int m_fd = -1;
    int m_dirFd = -1;
    bool m_bOwnDirFd = false;
    bool m_bUnnamed = false;
    Sync m_sync = Sync::Durable;
    std::string m_strName;     // within the directory
    std::string m_strTarget;   // for messages
    std::string m_strTempName; // the named temporary, when there is one
    int m_nSlot = -1;          // where the signal handler finds it
    std::int64_t m_nStarted = 0; // the disk has been started on the bytes before this
    std::int64_t m_nSettled = 0; // and the bytes before this are on it and out of memory
};
