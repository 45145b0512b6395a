#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

// Where the mod list of a game folder view came from.
enum class ModListSource
{
    None,        // no list anywhere: the game folder alone
    CommandLine, // given as the engine's -mod takes it
    ModIni,      // the opened folder is a mod with a mod.ini
    ModJson,     // the opened folder is a mod with a Knossos mod.json
    CmdlineCfg,  // data/cmdline_fso.cfg of the game folder
};

// A folder as the game sees it: the game folder (the engine's working directory) and the
// -mod folders in their order, first wins, relative to it.
struct GameFolderSetup
{
    std::string strGameDir;
    std::vector<std::string> aMods;
    ModListSource source = ModListSource::None;
};

// The entries of an engine -mod value: comma separated, not trimmed; empty entries are
// dropped, as the engine's tokenizer does on Linux.
std::vector<std::string> SplitModList(std::string_view list);

// The launcher's list from a mod.ini: [multimod] primarylist, the mod itself, then
// secondarylist, each a comma list ending in ";", keys in any case, blanks trimmed.
std::vector<std::string> ModIniList(std::string_view text, const std::string& modFolder);

// The list from a Knossos mod.json: the ids of mod_flag in order, each the newest
// installed "<id>-<version>" folder of installed (the game folder's subfolder names);
// the mod's own id is its own folder, and the retail id FS2 is the game folder itself.
// Fails when the text is not a JSON object.
Result ModJsonList(std::string_view text, const std::string& modFolder,
                   const std::vector<std::string>& installed, std::vector<std::string>& mods);

// The -mod value of the first line of a cmdline_fso.cfg (several -mod flags append);
// nothing when it has none.
std::optional<std::string> CmdlineCfgModList(std::string_view text);

// How the engine would be started for a folder: with a list, the folder is the game folder;
// without one, a folder holding mod.ini or mod.json is a mod of its parent, else the game
// folder's data/cmdline_fso.cfg gives the list. Fails only on an unreadable mod.json.
Result ResolveGameFolder(const std::string& folder, const std::optional<std::string>& modList,
                         GameFolderSetup& setup);
