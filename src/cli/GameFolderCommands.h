#pragma once

#include <ostream>
#include <string>
#include <vector>

class CCliGameFolder;
struct CatOptions;
struct ExtractOptions;
struct SumOptions;

// The commands on a game folder: what the game loads, as the archive commands show an
// archive's entries. Names are taken as `which` takes them, patterns match the type folder
// path ("data/tables/*.tbl", or a bare name in any folder).
int ListGameFolder(const CCliGameFolder& folder, bool bJson, std::ostream& out);
int CatGameFile(const CCliGameFolder& folder, const CatOptions& options, std::ostream& out);
int SumGameFiles(const CCliGameFolder& folder, const SumOptions& options, std::ostream& out);
// The flattened game: each loaded file at its path inside its root (--keep-dirs) or side
// by side, content decompressed.
int ExtractGameFolder(const CCliGameFolder& folder, const ExtractOptions& options);
// "dups --engine": every file the game finds more than once, the copy it loads and the
// ones it hides, whether their contents are the same, and whether the engine calls the
// file critical.
int FindEngineDuplicates(const CCliGameFolder& folder, bool bJson, std::ostream& out);
