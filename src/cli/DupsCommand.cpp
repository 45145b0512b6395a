#include "DupsCommand.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <unordered_map>

#include "AsciiText.h"
#include "CCliArchive.h"
#include "CDigest.h"
#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "ContentSinks.h"
#include "ExitCodes.h"
#include "TextEncoding.h"

namespace
{
struct Copy
{
    std::size_t nArchive = 0;
    int nFile = 0;
    std::optional<std::int64_t> nSize; // none: the entry could not be read
    std::string strSha256;
};

struct PathGroup
{
    std::string strPath; // as first met
    std::vector<Copy> aCopies;
    bool InSeveralArchives() const
    {
        for (const Copy& copy : aCopies)
            if (copy.nArchive != aCopies.front().nArchive)
                return true;
        return false;
    }
    bool Identical() const
    {
        for (const Copy& copy : aCopies)
            if (!copy.nSize || copy.strSha256 != aCopies.front().strSha256)
                return false;
        return true;
    }
};

int Worse(int a, int b)
{
    return a == EXIT_FAILED || b == EXIT_FAILED ? EXIT_FAILED : std::max(a, b);
}

// The copy's content size and digest; false (told on stderr) when it cannot be read.
bool Measure(const CCliArchive& archive, CInputFile& input, CDigest& digest, Copy& copy)
{
    const CORBISTAVDoc& doc = archive.Doc();
    const std::string label = CEntryExtractor::ArchivePathOf(doc, copy.nFile);
    Result r = input.IsOpen() ? Result::Ok() : input.Open(doc.GetPathName());
    CEntryReader reader(input, CEntryReader::ModeFor(doc, false));
    if (r)
        r = reader.Open(doc.m_files[copy.nFile], label);
    std::int64_t nSize = 0;
    if (r)
        r = reader.Stream(DigestSink(digest, nSize));
    const std::string value = digest.Finish();
    if (!r)
    {
        std::cerr << "orbistav-cli: " << archive.Path() << ": " << r.Text() << '\n';
        return false;
    }
    copy.nSize = nSize;
    copy.strSha256 = value;
    return true;
}

void PrintText(const std::vector<const PathGroup*>& groups,
               const std::vector<std::unique_ptr<CCliArchive>>& archives, std::ostream& out)
{
    for (const PathGroup* pGroup : groups)
    {
        out << pGroup->strPath << '\t' << (pGroup->Identical() ? "identical" : "different") << '\n';
        for (const Copy& copy : pGroup->aCopies)
            out << "  " << archives[copy.nArchive]->Path() << '\t'
                << (copy.nSize ? std::to_string(*copy.nSize) : "-") << '\t'
                << (copy.nSize ? copy.strSha256 : "damaged") << '\n';
    }
}

void PrintJson(const std::vector<const PathGroup*>& groups,
               const std::vector<std::unique_ptr<CCliArchive>>& archives, std::ostream& out)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const PathGroup* pGroup : groups)
    {
        nlohmann::ordered_json entries = nlohmann::ordered_json::array();
        for (const Copy& copy : pGroup->aCopies)
        {
            const CORBISTAVDoc& doc = archives[copy.nArchive]->Doc();
            nlohmann::ordered_json entry;
            entry["archive"] = archives[copy.nArchive]->Path();
            entry["name"] = Cp1252ToUtf8(doc.m_files[copy.nFile].strName);
            entry["size"] = copy.nSize ? nlohmann::ordered_json(*copy.nSize) : nullptr;
            entry["sha256"] = copy.nSize ? nlohmann::ordered_json(copy.strSha256) : nullptr;
            entries.push_back(std::move(entry));
        }
        list.push_back({{"path", pGroup->strPath},
                        {"identical", pGroup->Identical()},
                        {"entries", std::move(entries)}});
    }
    const nlohmann::ordered_json root = {{"duplicates", std::move(list)}};
    out << root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}
} // namespace

int FindDuplicates(const std::vector<std::string>& paths, bool bJson, std::ostream& out)
{
    int status = EXIT_OK;
    std::vector<std::unique_ptr<CCliArchive>> archives;
    std::vector<PathGroup> groups;
    std::unordered_map<std::string, std::size_t> groupOfPath;
    for (const std::string& path : paths)
    {
        auto pArchive = std::make_unique<CCliArchive>();
        if (!pArchive->Load(path))
        {
            status = EXIT_FAILED;
            continue;
        }
        if (!pArchive->IsComplete())
            status = Worse(status, EXIT_PARTIAL);
        const CORBISTAVDoc& doc = pArchive->Doc();
        for (int f = 0; f < doc.m_nFileCount; ++f)
        {
            const std::string archivePath = CEntryExtractor::ArchivePathOf(doc, f);
            const auto [it, bNew] =
                groupOfPath.try_emplace(ToLowerAscii(archivePath), groups.size());
            if (bNew)
                groups.push_back({archivePath, {}});
            groups[it->second].aCopies.push_back({archives.size(), f, std::nullopt, {}});
        }
        archives.push_back(std::move(pArchive));
    }

    std::unique_ptr<CDigest> digest;
    if (Result r = CDigest::Create("sha256", digest); !r)
    {
        std::cerr << "orbistav-cli: " << r.Text() << '\n';
        return EXIT_FAILED;
    }
    // Only the copies of duplicated paths are read.
    std::vector<CInputFile> inputs(archives.size());
    std::vector<const PathGroup*> duplicates;
    for (PathGroup& group : groups)
    {
        if (!group.InSeveralArchives())
            continue;
        for (Copy& copy : group.aCopies)
            if (!Measure(*archives[copy.nArchive], inputs[copy.nArchive], *digest, copy))
                status = EXIT_FAILED;
        duplicates.push_back(&group);
    }

    if (bJson)
        PrintJson(duplicates, archives, out);
    else
        PrintText(duplicates, archives, out);
    out.flush();
    return out ? status : EXIT_FAILED;
}
