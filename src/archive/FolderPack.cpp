#include "FolderPack.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "AsciiText.h"
#include "CDiskFileInput.h"
#include "TextEncoding.h"
#include "VpFormat.h"

namespace
{
struct Node
{
    std::string strStored; // Windows-1252
    std::string strPath;   // on disk
    std::int64_t nSize = 0;
    std::int32_t tTime = 0;
};

class CFolderPlanner
{
public:
    CFolderPlanner(const FolderPackOptions& options, PackPlan& plan)
        : m_options(options), m_plan(plan)
    {
    }

    Result AddDirectory(const std::string& path)
    {
        std::vector<Node> files, dirs;
        if (Result r = ReadDirectory(path, files, dirs); !r)
            return r;
        const auto byName = [](const Node& a, const Node& b) { return a.strStored < b.strStored; };
        std::sort(files.begin(), files.end(), byName);
        std::sort(dirs.begin(), dirs.end(), byName);
        WarnCaseTwins(files, dirs);
        m_plan.nMostSubdirectories =
            std::max(m_plan.nMostSubdirectories, static_cast<int>(dirs.size()));

        for (Node& file : files)
        {
            if (file.nSize == 0 && !m_options.bLz41)
                return Result::Fail(file.strPath +
                                    ": refused: the file is empty, and an entry of size 0 "
                                    "would read as a directory (--lz41 stores it)");
            PackItem& item = m_plan.aItems.emplace_back();
            item.kind = PackItem::Kind::File;
            item.strName = file.strStored;
            item.tTime = m_options.bZeroTimes ? 0 : file.tTime;
            item.nSize = file.nSize;
            item.bCompress = m_options.bLz41 && ShouldCompress(file.strStored, file.nSize);
            item.strLabel = file.strPath;
            item.openInput = [path = file.strPath, nSize = file.nSize]
            { return std::make_unique<CDiskFileInput>(path, nSize); };
            ++m_plan.nFiles;
        }
        for (const Node& dir : dirs)
        {
            PackItem& open = m_plan.aItems.emplace_back();
            open.kind = PackItem::Kind::Directory;
            open.strName = dir.strStored;
            open.strLabel = dir.strPath;
            ++m_plan.nDirectories;
            if (Result r = AddDirectory(dir.strPath); !r)
                return r;
            PackItem& close = m_plan.aItems.emplace_back();
            close.kind = PackItem::Kind::Parent;
            close.strName = "..";
        }
        return Result::Ok();
    }

private:
    Result ReadDirectory(const std::string& path, std::vector<Node>& files, std::vector<Node>& dirs)
    {
        DIR* pDir = ::opendir(path.c_str());
        if (!pDir)
            return Result::Fail(path + ": refused: " + std::strerror(errno));
        Result result;
        errno = 0;
        while (const dirent* pEntry = ::readdir(pDir))
        {
            const std::string name = pEntry->d_name;
            if (name == "." || name == "..")
                continue;
            Node node;
            node.strPath = path + "/" + name;
            if (result = Examine(name, node, files, dirs); !result)
                break;
            errno = 0;
        }
        if (result && errno != 0)
            result = Result::Fail(path + ": refused: " + std::strerror(errno));
        ::closedir(pDir);
        return result;
    }

    Result Examine(const std::string& name, Node& node, std::vector<Node>& files,
                   std::vector<Node>& dirs)
    {
        const auto refuse = [&](const std::string& why)
        { return Result::Fail(node.strPath + ": refused: " + why); };
        struct stat st = {};
        if (::lstat(node.strPath.c_str(), &st) != 0)
            return refuse(std::strerror(errno));
        if (S_ISLNK(st.st_mode))
            return refuse("it is a symbolic link; only regular files and directories are packed");
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return refuse("it is not a regular file or a directory");
        if (!Utf8ToCp1252(name, node.strStored))
            return refuse("the name cannot be written in Windows-1252");
        if (node.strStored.size() > VP_MAX_NAME_LENGTH)
            return refuse("the name is " + std::to_string(node.strStored.size()) +
                          " bytes long in Windows-1252; an archive holds at most " +
                          std::to_string(VP_MAX_NAME_LENGTH));
        // A backslash would split the name in the archive's paths.
        if (node.strStored.find('\\') != std::string::npos)
            return refuse("a name in an archive cannot hold a backslash");
        if (S_ISDIR(st.st_mode))
        {
            dirs.push_back(std::move(node));
            return Result::Ok();
        }
        const int fd = ::open(node.strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return refuse("it cannot be read: " + std::string(std::strerror(errno)));
        ::close(fd);
        node.nSize = st.st_size;
        node.tTime = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(st.st_mtim.tv_sec, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
        files.push_back(std::move(node));
        return Result::Ok();
    }

    // The engine finds files without regard to case, so it sees only one of such twins.
    void WarnCaseTwins(const std::vector<Node>& files, const std::vector<Node>& dirs)
    {
        for (const std::vector<Node>* group : {&files, &dirs})
        {
            std::vector<std::pair<std::string, const Node*>> lowered;
            for (const Node& node : *group)
                lowered.emplace_back(ToLowerAscii(node.strStored), &node);
            std::sort(lowered.begin(), lowered.end());
            for (std::size_t i = 1; i < lowered.size(); ++i)
                if (lowered[i].first == lowered[i - 1].first)
                    m_plan.aWarnings.push_back(lowered[i - 1].second->strPath + " and " +
                                               lowered[i].second->strPath +
                                               " differ only in case; the game finds one of them");
        }
    }

    const FolderPackOptions& m_options;
    PackPlan& m_plan;
};
} // namespace

Result PlanFolderPack(const std::string& folder, const FolderPackOptions& options, PackPlan& plan)
{
    plan = PackPlan();
    struct stat st = {};
    if (::stat(folder.c_str(), &st) != 0)
        return Result::Fail(folder + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return Result::Fail(folder + ": not a directory");
    // An archive written into the folder it packs would be packed into the next run.
    std::error_code ec;
    const auto root = std::filesystem::weakly_canonical(folder, ec);
    const auto out = std::filesystem::weakly_canonical(options.strOutputPath, ec);
    if (!options.strOutputPath.empty() && !root.empty())
    {
        const auto rel = out.parent_path().lexically_relative(root);
        if (!rel.empty() && *rel.begin() != "..")
            return Result::Fail(options.strOutputPath +
                                ": refused: the archive to write lies inside the folder " + folder);
    }

    CFolderPlanner planner(options, plan);
    if (Result r = planner.AddDirectory(folder); !r)
        return r;
    if (!options.bLz41 && LargestArchiveSize(plan) > VP_MAX_ARCHIVE_SIZE)
        return Result::Fail(folder + ": refused: the archive would be " +
                            std::to_string(LargestArchiveSize(plan)) +
                            " bytes; its signed 32-bit offsets reach " +
                            std::to_string(VP_MAX_ARCHIVE_SIZE) + " at most");
    if (std::string warning = CapacityWarning(plan); !warning.empty())
        plan.aWarnings.push_back(warning);
    return Result::Ok();
}
