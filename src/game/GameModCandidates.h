#pragma once

#include <string>
#include <vector>

// The subfolders of a game folder that can be given to -mod: those holding a data folder,
// a .vp or .vpc archive, a mod.ini or a mod.json. The game folder's own data folder is none.
// Sorted without regard to case; an unreadable folder has none.
std::vector<std::string> FindModCandidates(const std::string& gameDir);
