#include "CCliGameFolder.h"

#include <algorithm>
#include <iostream>
#include <sys/stat.h>

#include "ExitCodes.h"
#include "GamePathTypes.h"

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

Result CCliGameFolder::ArchiveEntryOf(const std::string& name, std::string& archive,
                                      std::string& entry) const
{
    int nFile = 0;
    if (Result r = FindOne(name, nFile); !r)
        return r;
    const GameFile& file = m_folder.Files()[nFile];
    if (!m_folder.Sources()[file.nSource].bArchive)
        return Result::Fail(m_folder.Location(nFile) +
                            ": a loose file; render and model read archive entries");
    archive = m_folder.SourceDiskPath(file.nSource);
    entry = "\\" + m_folder.PathInSource(nFile);
    std::replace(entry.begin(), entry.end(), '/', '\\');
    return Result::Ok();
}

bool IsFolderArgument(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
