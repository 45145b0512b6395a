#pragma once

#include <string>
#include <string_view>

#include "IoResult.h"

// A whole file read as bytes. A file that does not exist is not an error: bFound is
// false and the result is Ok.
struct FileContents
{
    bool bFound = false;
    std::string strBytes;
    IoResult result;
};

FileContents ReadWholeFile(const std::string& path);

// Replaces the file so that readers see either the old or the new bytes, never a mix,
// even after a crash: temporary file in the same directory, fsync, rename, fsync of the
// directory. A symbolic link is followed, so the file it names is replaced.
IoResult WriteFileAtomically(const std::string& path, std::string_view bytes);
