#include "PathOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LegacyDriveMapping.h"

std::string EnsureTrailingBackslash(const std::string& path)
{
    if (path.empty())
        return path;
    if (IsWindowsFormPath(path))
        return (path.back() == '\\' || path.back() == '/') ? path : path + "\\";
    return path.back() == '/' ? path : path + "/";
}

bool FileExists(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st = {};
    const bool bFile = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return bFile;
}

std::string JoinPath(const std::string& directory, const std::string& fileName)
{
    if (IsWindowsFormPath(directory))
    {
        if (directory.size() >= 3 && directory.back() != '\\')
            return directory + "\\" + fileName;
        return directory + fileName;
    }
    if (!directory.empty() && directory.back() != '/')
        return directory + "/" + fileName;
    return directory + fileName;
}
