#pragma once

#include <ostream>
#include <string>
#include <vector>

// "verify": reads every entry of each archive whole, compressed ones decompressed block by
// block, and prints a line for each problem and a summary. Exit 0 when all is well, 3 when
// a problem was found, 1 when an archive could not be opened.
int VerifyArchives(const std::vector<std::string>& archives, std::ostream& out);
