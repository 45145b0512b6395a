#include "CInputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CInputFile::~CInputFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Result CInputFile::Open(const std::string& path)
{
    if (m_fd >= 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
    m_strPath = path;
    m_nSize = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Result::Fail(path + ": " + std::strerror(errno));
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
    {
        const int err = errno;
        ::close(fd);
        return Result::Fail(path + ": " + std::strerror(err));
    }
    if (S_ISDIR(st.st_mode))
    {
        ::close(fd);
        return Result::Fail(path + ": is a directory");
    }
    if (!S_ISREG(st.st_mode))
    {
        ::close(fd);
        return Result::Fail(path + ": not a regular file");
    }
    m_fd = fd;
    m_nSize = st.st_size;
    return Result::Ok();
}

std::int64_t CInputFile::ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount)
{
    if (m_fd < 0 || nOffset < 0)
        return -1;
    auto* p = static_cast<unsigned char*>(pBuffer);
    std::size_t done = 0;
    while (done < nCount)
    {
        const ssize_t n =
            ::pread(m_fd, p + done, nCount - done, nOffset + static_cast<off_t>(done));
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return done > 0 ? static_cast<std::int64_t>(done) : -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}
