#include "CDestinationDir.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string ErrnoText(int err)
{
    return std::strerror(err);
}
} // namespace

std::string CDestinationDir::PathOf(const std::string& name) const
{
    if (m_strPath.empty() || m_strPath.back() == '/')
        return m_strPath + name;
    return m_strPath + "/" + name;
}

CDestinationDir::~CDestinationDir()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

CDestinationDir::CDestinationDir(CDestinationDir&& other) noexcept
    : m_fd(other.m_fd), m_strPath(std::move(other.m_strPath))
{
    other.m_fd = -1;
}

CDestinationDir& CDestinationDir::operator=(CDestinationDir&& other) noexcept
{
    if (this != &other)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        m_strPath = std::move(other.m_strPath);
        other.m_fd = -1;
    }
    return *this;
}

Result CDestinationDir::Open(const std::string& path, CDestinationDir& dir)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Result::Fail(path + ": " + ErrnoText(errno));
    dir = CDestinationDir();
    dir.m_fd = fd;
    dir.m_strPath = path;
    return Result::Ok();
}

Result CDestinationDir::OpenSubdir(const std::string& name, CDestinationDir& subdir) const
{
    const std::string path = PathOf(name);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return Result::Fail(path + ": not a plain directory name");
    if (::mkdirat(m_fd, name.c_str(), 0777) != 0 && errno != EEXIST)
        return Result::Fail(path + ": " + ErrnoText(errno));
    const int fd = ::openat(m_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
    {
        const int err = errno;
        if (err == ELOOP || err == ENOTDIR)
            return Result::Fail(path + ": exists and is not a directory");
        return Result::Fail(path + ": " + ErrnoText(err));
    }
    subdir = CDestinationDir();
    subdir.m_fd = fd;
    subdir.m_strPath = path;
    return Result::Ok();
}

Result CDestinationDir::WriteFileAtomically(const std::string& name,
                                            const std::function<Result(int fd)>& writeData) const
{
    const std::string path = PathOf(name);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return Result::Fail(path + ": not a plain file name");

    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::string tempName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt)
    {
        tempName = ".orbistav-" + std::to_string(random()) + ".tmp";
        fd = ::openat(m_fd, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                      0666);
        if (fd < 0 && errno != EEXIST)
            return Result::Fail(path + ": " + ErrnoText(errno));
    }
    if (fd < 0)
        return Result::Fail(path + ": no temporary file could be created");

    Result result = writeData(fd);
    if (::close(fd) != 0 && result)
        result = Result::Fail(path + ": " + ErrnoText(errno));
    if (result && ::renameat(m_fd, tempName.c_str(), m_fd, name.c_str()) != 0)
    {
        const int err = errno;
        result = Result::Fail(path + ": " +
                              (err == EISDIR || err == ENOTEMPTY || err == EEXIST
                                   ? std::string("a directory of that name exists")
                                   : ErrnoText(err)));
    }
    if (!result)
        ::unlinkat(m_fd, tempName.c_str(), 0);
    return result;
}
