#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "Result.h"

// A whole file read as bytes. A file that does not exist is not an error: bFound is
// false and the result is Ok.
struct FileContents
{
    bool bFound = false;
    std::string strBytes;
    Result result;
};

FileContents ReadWholeFile(const std::string& path);

// Writes all bytes to fd, going on after short writes and signals; false with errno set.
bool WriteAll(int fd, std::string_view bytes);

// Copies nSize bytes of inFd from nInOffset to outFd at its current position, by the kernel
// (copy_file_range, no pass through this process) where it can, else by reading and
// writing. Fails with errno set, EIO when inFd ends early.
bool CopyBytes(int inFd, std::int64_t nInOffset, int outFd, std::int64_t nSize);
// CopyBytes in pieces of 16 MiB, so that progress moves through a large file: onPiece is
// told each piece's size and stops the copy with the failure it returns. A source that
// ends early is named by sourceLabel, any other failure by targetLabel.
Result CopyBytesInPieces(int inFd, std::int64_t nInOffset, int outFd, std::int64_t nSize,
                         const std::string& sourceLabel, const std::string& targetLabel,
                         const std::function<Result(std::int64_t nBytes)>& onPiece);

// Replaces the file so that readers see either the old or the new bytes, never a mix,
// even after a crash (see CAtomicFile). A symbolic link is followed, so the file it names
// is replaced.
Result WriteFileAtomically(const std::string& path, std::string_view bytes);
