#include "CDestinationDir.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AsciiText.h"
#include "CAtomicFile.h"

namespace
{
std::string ErrnoText(int err)
{
    return std::strerror(err);
}

bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
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

Result CDestinationDir::OpenChild(const std::string& name, CDestinationDir& subdir) const
{
    const std::string path = PathOf(name);
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

Result CDestinationDir::OpenSubdir(const std::string& name, CDestinationDir& subdir) const
{
    if (!IsPlainName(name))
        return Result::Fail(PathOf(name) + ": not a plain directory name");
    if (::mkdirat(m_fd, name.c_str(), 0777) != 0 && errno != EEXIST)
        return Result::Fail(PathOf(name) + ": " + ErrnoText(errno));
    return OpenChild(name, subdir);
}

std::string CDestinationDir::FindDirectoryNoCase(const std::string& name) const
{
    const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    DIR* pDir = ::fdopendir(fd);
    if (!pDir)
    {
        ::close(fd);
        return {};
    }
    // Of several spellings the first in byte order, so the same one is taken every time.
    std::string best;
    while (const dirent* pEntry = ::readdir(pDir))
    {
        const std::string candidate = pEntry->d_name;
        if (!EqualsNoCaseAscii(candidate, name) || (!best.empty() && candidate >= best))
            continue;
        struct stat st = {};
        if (::fstatat(m_fd, candidate.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(st.st_mode))
            best = candidate;
    }
    ::closedir(pDir);
    return best;
}

Result CDestinationDir::OpenExistingSubdir(const std::string& name, CDestinationDir& subdir) const
{
    if (!IsPlainName(name))
        return Result::Fail(PathOf(name) + ": not a plain directory name");
    struct stat st = {};
    if (::fstatat(m_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
    {
        const std::string other = FindDirectoryNoCase(name);
        if (other.empty())
            return Result::Fail(PathOf(name) + ": " + ErrnoText(ENOENT));
        return OpenChild(other, subdir);
    }
    return OpenChild(name, subdir);
}

Result CDestinationDir::WriteFileAtomically(const std::string& name,
                                            const std::function<Result(int fd)>& writeData) const
{
    const std::string path = PathOf(name);
    if (!IsPlainName(name))
        return Result::Fail(path + ": not a plain file name");
    // The rename below would replace a file whatever its permissions; a file the user
    // made read-only stays as it is.
    struct stat st = {};
    if (::fstatat(m_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        ((st.st_mode & 0222) == 0 || ::faccessat(m_fd, name.c_str(), W_OK, AT_EACCESS) != 0))
        return Result::Fail(path + ": " + ErrnoText(EACCES));

    // Extracted files are new more often than not: only one replacing a file is flushed
    // before it takes the name, which keeps extracting a mod as fast as copying it.
    CAtomicFile file;
    if (Result r = file.CreateAt(m_fd, m_strPath, name, CAtomicFile::Sync::WhenReplacing); !r)
        return r;
    if (Result r = writeData(file.Fd()); !r)
        return r;
    return file.Commit();
}
