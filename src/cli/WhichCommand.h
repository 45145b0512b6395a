#pragma once

#include <ostream>
#include <string>
#include <vector>

class CCliGameFolder;

// "which": for each name and each type folder where the game finds it, the copy it loads
// and the copies that copy hides, in the engine's order. A name found nowhere fails.
int WhichFiles(const CCliGameFolder& folder, const std::vector<std::string>& names, bool bJson,
               std::ostream& out);
