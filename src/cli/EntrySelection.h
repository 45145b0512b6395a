#pragma once

#include <string>
#include <vector>

#include "Result.h"

class CCliArchive;

// The files whose archive paths match one of the patterns (every file when there are
// none), in archive order. A pattern that matches nothing is named on stderr. Returns the
// exit status so far: failed for such a pattern, partial for a partly read archive.
int SelectEntries(const CCliArchive& archive, const std::vector<std::string>& patterns,
                  std::vector<int>& selected);

// The one file that the pattern names; none or several is a failure saying so.
Result FindSingleEntry(const CCliArchive& archive, const std::string& pattern, int& nFile);
