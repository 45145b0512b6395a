#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Result.h"

class CCliArchive;

// Appends to `selected` each index below nCount whose path matches one of the patterns
// (every index when there are none), in order; returns the patterns that matched nothing.
std::vector<std::string> MatchPaths(const std::vector<std::string>& patterns, int nCount,
                                    const std::function<std::string(int)>& pathOf,
                                    std::vector<int>& selected);

// The files whose archive paths match one of the patterns (every file when there are
// none), in archive order. A pattern that matches nothing is named on stderr. Returns the
// exit status so far: failed for such a pattern, partial for a partly read archive.
int SelectEntries(const CCliArchive& archive, const std::vector<std::string>& patterns,
                  std::vector<int>& selected);

// The one file that the pattern names; none or several is a failure saying so.
Result FindSingleEntry(const CCliArchive& archive, const std::string& pattern, int& nFile);
