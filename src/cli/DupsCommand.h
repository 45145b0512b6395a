#pragma once

#include <ostream>
#include <string>
#include <vector>

// "dups": the archive paths (without regard to case, as the games compare them) that occur
// in more than one of the archives, in the order first met, each with its copies' content
// size and SHA-256 and whether all copies are identical once decompressed.
int FindDuplicates(const std::vector<std::string>& archives, bool bJson, std::ostream& out);
