#include "CCliGameFolder.h"

#include <algorithm>
#include <iostream>
#include <sys/stat.h>

#include "ArchiveFile.h"
#include "AsciiText.h"
#include "CGameFileReader.h"
#include "CMemorySource.h"
#include "ExitCodes.h"
#include "FileTypes.h"
#include "GamePathTypes.h"
#include "PofTextures.h"
#include "V3dTextures.h"

bool CCliGameFolder::Load(const std::string& folder, const std::optional<std::string>& modList)
{
    if (Result r = m_folder.Open(folder, modList); !r)
    {
        std::cerr << "orbistav-cli: " << r.Text() << '\n';
        return false;
    }
    for (const std::string& warning : m_folder.Warnings())
        std::cerr << "orbistav-cli: warning: " << warning << '\n';
    return true;
}

int CCliGameFolder::Status() const
{
    return m_folder.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
}

Result CCliGameFolder::FindOne(const std::string& name, int& nFile) const
{
    const std::vector<GameHit> hits = m_folder.Find(name, true);
    if (hits.empty())
        return Result::Fail(name + ": the game finds no such file in " + m_folder.GameDir());
    if (hits.size() > 1)
    {
        std::string text = name + ": found in several type folders, name one:";
        for (const GameHit& hit : hits)
        {
            const std::string folder = GetGamePathType(hit.nType).szPath;
            text += " " + (folder.empty() ? std::string(".") : folder) + "/" + name;
        }
        return Result::Fail(text);
    }
    nFile = hits.front().nLoads;
    return Result::Ok();
}

Result CCliGameFolder::ReadContent(int nFile, std::vector<std::uint8_t>& content) const
{
    CGameFileReader reader(m_folder);
    if (Result r = reader.Open(nFile); !r)
        return r;
    return reader.ReadAll(content);
}

namespace
{
// The picture kinds a model's texture is asked for, in the game's order.
constexpr const char* kPictureExtensions[] = {".dds", ".tga", ".png", ".jpg", ".pcx"};

// Of the files the game loads for one name, the one from the earliest place; -1 for none.
// Sources are numbered in the game's search order.
int EarliestPlace(const CGameFolder& folder, const std::string& name, int nBest)
{
    for (const GameHit& hit : folder.Find(name))
        if (nBest < 0 ||
            folder.Files()[hit.nLoads].nSource < folder.Files()[nBest].nSource)
            nBest = hit.nLoads;
    return nBest;
}
} // namespace

std::vector<int> CCliGameFolder::FindTextures(const std::vector<std::string>& names,
                                              bool bRedFaction) const
{
    std::vector<int> found(names.size(), -1);
    for (std::size_t n = 0; n < names.size(); ++n)
    {
        // A name holding a folder would be taken for a sub path; the game would not find it.
        if (names[n].find_first_of("/\\") != std::string::npos)
            continue;
        if (bRedFaction)
        {
            for (const std::string& candidate : V3dTextureFileNames(names[n]))
                if ((found[n] = EarliestPlace(m_folder, candidate, -1)) >= 0)
                    break;
            continue;
        }
        std::string base = ToLowerAscii(names[n]);
        for (const char* szExtension : kPictureExtensions)
            if (base.size() > 4 && base.compare(base.size() - 4, 4, szExtension) == 0)
                base.resize(base.size() - 4);
        if (base.empty())
            continue;
        // An earlier kind wins a tie: only a strictly earlier place replaces it.
        for (const char* szExtension : kPictureExtensions)
            found[n] = EarliestPlace(m_folder, base + szExtension, found[n]);
    }
    return found;
}

std::vector<RgbaPicture> CCliGameFolder::LoadTextures(const std::vector<int>& files,
                                                      const std::vector<bool>& wanted) const
{
    std::vector<RgbaPicture> textures(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
    {
        if (files[i] < 0 || (!wanted.empty() && (i >= wanted.size() || !wanted[i])))
            continue;
        std::vector<std::uint8_t> content;
        if (!ReadContent(files[i], content))
            continue;
        // The content is whole and plain now: decoded as a stored entry of its own.
        ArchiveFile entry;
        entry.nSize = static_cast<std::int32_t>(content.size());
        entry.strName = std::string(m_folder.Files()[files[i]].Name());
        entry.nType = GetFileType(entry.strName);
        CMemorySource source(content);
        textures[i] = LoadTextureEntry(source, entry, CEntryReader::Mode::Stored);
    }
    return textures;
}

bool IsFolderArgument(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
