#pragma once

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

// Creates a new, hidden file beside target to be renamed over it once written: readable and
// writable, 0666 through the umask. Returns its descriptor, or -1 with errno set.
int CreateTempFileBeside(const std::string& target, std::string& tempPath);

// Replaces the file so that readers see either the old or the new bytes, never a mix,
// even after a crash: temporary file in the same directory, fsync, rename, fsync of the
// directory. A symbolic link is followed, so the file it names is replaced.
Result WriteFileAtomically(const std::string& path, std::string_view bytes);
