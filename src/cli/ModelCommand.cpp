#include "ModelCommand.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <ostream>

#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "EntrySelection.h"
#include "ExitCodes.h"
#include "FileTypes.h"
#include "PofModel.h"
#include "PofTextures.h"
#include "TextEncoding.h"

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

// The archive path of each texture's entry, empty where the archive has none.
std::vector<std::string> TextureEntries(const CORBISTAVDoc& doc, const PofModel& model)
{
    std::vector<std::string> entries;
    for (const int nFile : FindPofTextures(doc, model.textures))
        entries.push_back(nFile < 0 ? std::string() : CEntryExtractor::ArchivePathOf(doc, nFile));
    return entries;
}

void PrintJson(const CORBISTAVDoc& doc, const std::string& label, const PofModel& model,
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
    const std::vector<std::string> entries = TextureEntries(doc, model);
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

void PrintText(const CORBISTAVDoc& doc, const PofModel& model, std::ostream& out)
{
    out << "version " << model.nVersion << ", radius " << model.fRadius << ", "
        << model.ShownPolygonCount() << " polygons shown\n";
    for (const PofSubobject& sub : model.subobjects)
        out << "subobject " << sub.nNumber << '\t' << Cp1252ToUtf8(sub.strName) << "\tparent "
            << sub.nParent << "\tdetail " << sub.nDetailLevel << '\t' << sub.points.size()
            << " vertices\t" << sub.polygons.size() << " polygons\n";
    const std::vector<std::string> entries = TextureEntries(doc, model);
    for (std::size_t i = 0; i < model.textures.size(); ++i)
        out << "texture " << Cp1252ToUtf8(model.textures[i]) << '\t'
            << (entries[i].empty() ? "(missing)" : entries[i]) << '\n';
}
} // namespace

int ShowModel(const CCliArchive& archive, const std::string& strEntry, bool bJson,
              std::ostream& out)
{
    const CORBISTAVDoc& doc = archive.Doc();
    int nFile = 0;
    if (Result r = FindSingleEntry(archive, strEntry, nFile); !r)
        return Fail(r.Text());
    const ArchiveFile& file = doc.m_files[nFile];
    const std::string label = CEntryExtractor::ArchivePathOf(doc, nFile);
    if (file.nType != FILE_TYPE_POF)
        return Fail(label + ": not a model (.pof)");
    CInputFile input;
    std::vector<std::uint8_t> bytes;
    if (Result r = archive.ReadContent(nFile, input, bytes); !r)
        return Fail(r.Text());
    PofModel model;
    if (Result r = ParsePof(bytes, model); !r)
        return Fail(label + ": " + r.Text());
    if (bJson)
        PrintJson(doc, label, model, out);
    else
        PrintText(doc, model, out);
    return archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
}
