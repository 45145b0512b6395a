#pragma once

#include <iosfwd>
#include <string>

class CCliArchive;
class CCliGameFolder;

// "model": what a POF model holds: version, radius, bounding box, subobjects with their
// parents, detail levels and sizes, and its textures with the archive entries that hold them;
// of a Red Faction mesh (.v3m, .v3c) its submeshes with their levels, vertices, triangles and
// textures, its bones, and the entry that holds each texture; as one JSON object with bJson,
// else as lines of text.
int ShowModel(const CCliArchive& archive, const std::string& strEntry, bool bJson,
              std::ostream& out);
// The same for what the game loads for a name, with where the game finds each texture in
// the whole view, as a location.
int ShowGameModel(const CCliGameFolder& folder, const std::string& name, bool bJson,
                  std::ostream& out);
