#include "ModelCommand.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <nlohmann/json.hpp>
#include <ostream>

#include "CCliArchive.h"
#include "CCliGameFolder.h"
#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "EntrySelection.h"
#include "ExitCodes.h"
#include "FileTypes.h"
#include "PofModel.h"
#include "PofTextures.h"
#include "TextEncoding.h"
#include "V3dMesh.h"
#include "V3dTextures.h"

namespace
{
int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}

using Json = nlohmann::ordered_json;

// A number, or null for the -1 that stands for none.
Json NumberOrNull(std::int32_t n)
{
    return n < 0 ? Json() : Json(n);
}

Json Vector(const PofVector& v)
{
    return Json::array({v.x, v.y, v.z});
}

// Where each texture a model names lies, empty where it is found nowhere.
using TextureLocator = std::function<std::vector<std::string>(const std::vector<std::string>& names,
                                                              bool bRedFaction)>;

void PrintJson(const TextureLocator& locate, const std::string& label, const PofModel& model,
               std::ostream& out)
{
    const std::vector<int> shown = model.ShownSubobjects();
    Json root;
    root["entry"] = label;
    root["version"] = model.nVersion;
    root["radius"] = model.fRadius;
    root["boundingBox"] = {{"min", Vector(model.min)}, {"max", Vector(model.max)}};
    root["detailLevels"] = model.detailLevels;
    root["debris"] = model.debris;
    root["shownPolygons"] = model.ShownPolygonCount();
    Json subobjects = Json::array();
    for (std::size_t i = 0; i < model.subobjects.size(); ++i)
    {
        const PofSubobject& sub = model.subobjects[i];
        Json item;
        item["number"] = sub.nNumber;
        item["name"] = Cp1252ToUtf8(sub.strName);
        item["parent"] = NumberOrNull(sub.nParent);
        item["detailLevel"] = NumberOrNull(sub.nDetailLevel);
        item["vertices"] = sub.points.size();
        item["polygons"] = sub.polygons.size();
        item["shown"] = std::find(shown.begin(), shown.end(), static_cast<int>(i)) != shown.end();
        subobjects.push_back(std::move(item));
    }
    root["subobjects"] = std::move(subobjects);
    Json textures = Json::array();
    const std::vector<std::string> entries = locate(model.textures, false);
    for (std::size_t i = 0; i < model.textures.size(); ++i)
    {
        const std::string& entry = entries[i];
        Json item;
        item["name"] = Cp1252ToUtf8(model.textures[i]);
        item["entry"] = entry.empty() ? Json() : Json(entry);
        textures.push_back(std::move(item));
    }
    root["textures"] = std::move(textures);
    out << root.dump(2) << '\n';
}

void PrintText(const TextureLocator& locate, const PofModel& model, std::ostream& out)
{
    out << "version " << model.nVersion << ", radius " << model.fRadius << ", "
        << model.ShownPolygonCount() << " polygons shown\n";
    for (const PofSubobject& sub : model.subobjects)
        out << "subobject " << sub.nNumber << '\t' << Cp1252ToUtf8(sub.strName) << "\tparent "
            << sub.nParent << "\tdetail " << sub.nDetailLevel << '\t' << sub.points.size()
            << " vertices\t" << sub.polygons.size() << " polygons\n";
    const std::vector<std::string> entries = locate(model.textures, false);
    for (std::size_t i = 0; i < model.textures.size(); ++i)
        out << "texture " << Cp1252ToUtf8(model.textures[i]) << '\t'
            << (entries[i].empty() ? "(missing)" : entries[i]) << '\n';
}
Json V3dVectorJson(const V3dVector& v)
{
    return Json::array({v.x, v.y, v.z});
}

// Each texture name of the mesh with where the texture drawn for it lies, empty where it is
// found nowhere.
std::vector<std::pair<std::string, std::string>> V3dTextureEntries(const TextureLocator& locate,
                                                                   const V3dMesh& mesh)
{
    const std::vector<std::string> names = mesh.Textures();
    const std::vector<std::string> places = locate(names, true);
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.emplace_back(names[i], places[i]);
    return entries;
}

void PrintV3dJson(const TextureLocator& locate, const std::string& label, const V3dMesh& mesh,
                  std::ostream& out)
{
    Json root;
    root["entry"] = label;
    root["kind"] = mesh.bCharacter ? "V3C" : "V3M";
    root["shownTriangles"] = mesh.ShownTriangleCount();
    Json submeshes = Json::array();
    for (const V3dSubmesh& sub : mesh.submeshes)
    {
        Json item;
        item["name"] = Cp1252ToUtf8(sub.strName);
        item["parent"] = Cp1252ToUtf8(sub.strParent);
        item["offset"] = V3dVectorJson(sub.offset);
        item["radius"] = sub.fRadius;
        item["boundingBox"] = {{"min", V3dVectorJson(sub.min)}, {"max", V3dVectorJson(sub.max)}};
        Json levels = Json::array();
        for (const V3dLevel& level : sub.levels)
        {
            Json names = Json::array();
            for (const std::string& name : level.textures)
                names.push_back(Cp1252ToUtf8(name));
            std::size_t nVertices = 0;
            for (const V3dBatch& batch : level.batches)
                nVertices += batch.positions.size();
            levels.push_back({{"distance", level.fDistance},
                              {"vertices", nVertices},
                              {"triangles", level.TriangleCount()},
                              {"batches", level.batches.size()},
                              {"textures", std::move(names)}});
        }
        item["levels"] = std::move(levels);
        submeshes.push_back(std::move(item));
    }
    root["submeshes"] = std::move(submeshes);
    Json bones = Json::array();
    for (const std::string& bone : mesh.bones)
        bones.push_back(Cp1252ToUtf8(bone));
    root["bones"] = std::move(bones);
    root["collisionSpheres"] = mesh.nSpheres;
    Json textures = Json::array();
    for (const auto& [name, entry] : V3dTextureEntries(locate, mesh))
        textures.push_back(
            {{"name", Cp1252ToUtf8(name)}, {"entry", entry.empty() ? Json() : Json(entry)}});
    root["textures"] = std::move(textures);
    out << root.dump(2) << '\n';
}

void PrintV3dText(const TextureLocator& locate, const V3dMesh& mesh, std::ostream& out)
{
    out << (mesh.bCharacter ? "character mesh" : "static mesh") << ", " << mesh.submeshes.size()
        << " submeshes, " << mesh.ShownTriangleCount() << " triangles shown\n";
    for (const V3dSubmesh& sub : mesh.submeshes)
    {
        out << "submesh " << Cp1252ToUtf8(sub.strName) << "\toffset " << sub.offset.x << ' '
            << sub.offset.y << ' ' << sub.offset.z << '\n';
        for (std::size_t n = 0; n < sub.levels.size(); ++n)
            out << "  level " << n + 1 << "\tdistance " << sub.levels[n].fDistance << '\t'
                << sub.levels[n].TriangleCount() << " triangles\t" << sub.levels[n].batches.size()
                << " batches\n";
    }
    for (const auto& [name, entry] : V3dTextureEntries(locate, mesh))
        out << "texture " << Cp1252ToUtf8(name) << '\t'
            << (entry.empty() ? "(missing)" : entry) << '\n';
}

Result ShowV3d(const TextureLocator& locate, const std::string& label,
               const std::vector<std::uint8_t>& bytes, bool bJson, std::ostream& out)
{
    V3dMesh mesh;
    if (Result r = ParseV3d(bytes, mesh); !r)
        return r;
    if (bJson)
        PrintV3dJson(locate, label, mesh, out);
    else
        PrintV3dText(locate, mesh, out);
    return Result::Ok();
}

// The model wherever its bytes lie: label names it, read gives its content whole.
int ShowModelContent(const std::string& label, int nType,
                     const std::function<Result(std::vector<std::uint8_t>&)>& read,
                     const TextureLocator& locate, bool bJson, std::ostream& out, int nDoneStatus)
{
    const bool bV3d = nType == FILE_TYPE_V3M || nType == FILE_TYPE_V3C;
    if (nType != FILE_TYPE_POF && !bV3d)
        return Fail(label + ": not a model (.pof, .v3m, .v3c)");
    std::vector<std::uint8_t> bytes;
    if (Result r = read(bytes); !r)
        return Fail(r.Text());
    if (bV3d)
    {
        if (Result r = ShowV3d(locate, label, bytes, bJson, out); !r)
            return Fail(label + ": " + r.Text());
        return nDoneStatus;
    }
    PofModel model;
    if (Result r = ParsePof(bytes, model); !r)
        return Fail(label + ": " + r.Text());
    if (bJson)
        PrintJson(locate, label, model, out);
    else
        PrintText(locate, model, out);
    return nDoneStatus;
}

// Where found, a string per index: empty for -1.
std::vector<std::string> Places(const std::vector<int>& files,
                                const std::function<std::string(int)>& place)
{
    std::vector<std::string> places;
    for (const int nFile : files)
        places.push_back(nFile < 0 ? std::string() : place(nFile));
    return places;
}
} // namespace

int ShowModel(const CCliArchive& archive, const std::string& strEntry, bool bJson,
              std::ostream& out)
{
    const CORBISTAVDoc& doc = archive.Doc();
    int nFile = 0;
    if (Result r = FindSingleEntry(archive, strEntry, nFile); !r)
        return Fail(r.Text());
    CInputFile input;
    const auto read = [&](std::vector<std::uint8_t>& bytes)
    { return archive.ReadContent(nFile, input, bytes); };
    const TextureLocator locate = [&](const std::vector<std::string>& names, bool bRedFaction)
    {
        return Places(bRedFaction ? FindV3dTextures(doc, names) : FindPofTextures(doc, names),
                      [&](int n) { return CEntryExtractor::ArchivePathOf(doc, n); });
    };
    return ShowModelContent(CEntryExtractor::ArchivePathOf(doc, nFile), doc.m_files[nFile].nType,
                            read, locate, bJson, out,
                            archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL);
}

int ShowGameModel(const CCliGameFolder& folder, const std::string& name, bool bJson,
                  std::ostream& out)
{
    int nFile = 0;
    if (Result r = folder.FindOne(name, nFile); !r)
        return Fail(r.Text());
    const CGameFolder& game = folder.Folder();
    const auto read = [&](std::vector<std::uint8_t>& bytes)
    { return folder.ReadContent(nFile, bytes); };
    const TextureLocator locate = [&](const std::vector<std::string>& names, bool bRedFaction)
    {
        return Places(folder.FindTextures(names, bRedFaction),
                      [&](int n) { return game.Location(n); });
    };
    return ShowModelContent(game.Location(nFile),
                            GetFileType(std::string(game.Files()[nFile].Name())), read, locate,
                            bJson, out, folder.Status());
}
