#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "CAtomicFile.h"
#include "Result.h"

// Writes a .VP archive: the header, the files' data as it comes, then the directory.
// Everything goes into an unnamed file beside the target (CAtomicFile), which replaces
// the target only at Commit; a writer destroyed before that leaves the target as it was.
class CVpWriter
{
public:
    CVpWriter() = default;
    CVpWriter(const CVpWriter&) = delete;
    CVpWriter& operator=(const CVpWriter&) = delete;

    // nEntryCount: the directory's size, known in advance so that every write can tell
    // whether the archive still fits its signed 32-bit offsets.
    Result Create(const std::string& targetPath, std::int64_t nEntryCount);

    std::int64_t Position() const { return m_nPosition; }
    Result Write(std::span<const unsigned char> bytes);
    // nSize bytes of the file inFd from nOffset, copied by the kernel where it can, in
    // pieces told to onPiece (see CopyBytesInPieces); sourceLabel names that file when it
    // ends before them.
    Result CopyFrom(int inFd, std::int64_t nOffset, std::int64_t nSize,
                    const std::string& sourceLabel,
                    const std::function<Result(std::int64_t nBytes)>& onPiece = {});
    // Goes back to an earlier position, to write an entry again in another form.
    Result Rewind(std::int64_t nPosition);

    void AddEntry(std::int64_t nOffset, std::int64_t nSize, const std::string& name,
                  std::int32_t tTime);
    // Entries that open and close a directory carry the position the data has reached.
    void AddDirectory(const std::string& name) { AddEntry(m_nPosition, 0, name, 0); }

    Result Commit();

private:
    Result WriteRaw(std::span<const unsigned char> bytes);
    Result Failed(int nError) const;
    Result Fits(std::int64_t nMore) const;

    std::string m_strTarget;
    CAtomicFile m_file;
    std::int64_t m_nPosition = 0;
    std::int64_t m_nEntryCount = 0;
    std::vector<unsigned char> m_directory;
};
