#include "CGameFolderTextures.h"

#include <algorithm>
#include <array>
#include <sys/stat.h>

#include "AsciiText.h"
#include "CGameFolder.h"
#include "FileTypes.h"
#include "GamePathTypes.h"
#include "TextEncoding.h"

namespace
{
// The order the game asks for a picture's kinds; the index is the kind's rank.
constexpr std::array<std::string_view, 5> kPictureExtensions = {".dds", ".tga", ".png", ".jpg",
                                                                ".pcx"};

int PictureRank(std::string_view lowerName)
{
    const std::size_t nDot = lowerName.rfind('.');
    if (nDot == std::string_view::npos)
        return -1;
    for (std::size_t i = 0; i < kPictureExtensions.size(); ++i)
        if (lowerName.substr(nDot) == kPictureExtensions[i])
            return static_cast<int>(i);
    return -1;
}

std::string WithoutExtension(const std::string& lowerName)
{
    return lowerName.substr(0, lowerName.rfind('.'));
}
} // namespace

void CGameFolderTextures::SetFolder(const CGameFolder* pFolder)
{
    m_pFolder = pFolder;
    m_best.clear();
    m_bIndexed = false;
}

bool CGameFolderTextures::Find(std::string_view fileName, EntrySource& found)
{
    if (!m_pFolder)
        return false;
    const std::vector<GameFile>& files = m_pFolder->Files();
    // One pass over the folder's files the first time, so a model's many names cost no more
    // than reading it.
    if (!m_bIndexed)
    {
        m_bIndexed = true;
        for (std::size_t i = 0; i < files.size(); ++i)
        {
            if (files[i].nLoadedFile >= 0)
                continue;
            const std::string lower = ToLowerAscii(files[i].Name());
            const int nRank = PictureRank(lower);
            if (nRank < 0)
                continue;
            const auto [it, bNew] = m_best.emplace(WithoutExtension(lower), static_cast<int>(i));
            const GameFile& best = files[static_cast<std::size_t>(it->second)];
            // Sources are numbered in the game's search order: an earlier place wins.
            if (!bNew && best.nSource == files[i].nSource &&
                nRank < PictureRank(ToLowerAscii(best.Name())))
                it->second = static_cast<int>(i);
        }
    }
    const std::string lower = ToLowerAscii(fileName);
    const auto it = m_best.find(WithoutExtension(lower));
    // Only the kind the game takes answers; the resolver is asked for the others in turn.
    if (it == m_best.end() ||
        !EqualsNoCaseAscii(files[static_cast<std::size_t>(it->second)].Name(), lower))
        return false;
    found = SourceOf(*m_pFolder, it->second);
    return true;
}

EntrySource CGameFolderTextures::SourceOf(const CGameFolder& folder, int nFile)
{
    const GameFile& file = folder.Files()[static_cast<std::size_t>(nFile)];
    const GameSource& place = folder.Sources()[static_cast<std::size_t>(file.nSource)];
    EntrySource source;
    if (place.bArchive)
    {
        source.strPath = folder.SourceDiskPath(file.nSource);
        source.nOffset = file.nOffset;
        source.nSize = file.nSize;
        source.mode = CEntryReader::Mode::Content;
    }
    else
    {
        source.strPath = folder.SourceDiskPath(file.nSource) + "/" + folder.PathInSource(nFile);
        // Its size now: modders edit loose files while they look.
        struct stat st{};
        source.nSize = ::stat(source.strPath.c_str(), &st) == 0 ? st.st_size : file.nSize;
        source.mode = file.bLz41 ? CEntryReader::Mode::Content : CEntryReader::Mode::Stored;
    }
    std::string name;
    source.strName = Utf8ToCp1252(file.Name(), name) ? name : std::string(file.Name());
    std::string dir = std::string("\\") + GetGamePathType(file.nType).szPath + "/" + file.strSubPath;
    std::replace(dir.begin(), dir.end(), '/', '\\');
    while (dir.size() > 1 && dir.back() == '\\')
        dir.pop_back();
    source.strDirPath = dir == "\\" ? std::string() : dir;
    source.nType = GetFileType(source.strName);
    return source;
}
