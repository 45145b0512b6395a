#pragma once

#include <string>

// The empty string stays empty; otherwise a separator is appended unless the path
// already ends in one. Host paths take "/"; a Windows-form path read from the legacy
// files ("C:\Games") takes "\", the separator it already uses.
std::string EnsureTrailingBackslash(const std::string& path);

// True when the file can be opened for reading. A directory is not a file.
bool FileExists(const std::string& path);

// directory + separator + fileName. For a Windows-form directory the legacy rule holds:
// the "\" is put only when the directory has at least 3 characters and does not end in
// one, so "C:" + "kroy.ini" gives "C:kroy.ini". A host directory gets a "/" unless it is
// empty or already ends in one.
std::string JoinPath(const std::string& directory, const std::string& fileName);
