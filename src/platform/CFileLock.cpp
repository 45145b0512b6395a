#include "CFileLock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CFileLock::CFileLock(const std::string& lockPath)
{
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
    {
        m_result =
            Result::Fail("cannot open lock file " + lockPath + ": " + std::strerror(errno));
        return;
    }
    int rc = 0;
    do
        rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
    {
        m_result = Result::Fail("cannot lock " + lockPath + ": " + std::strerror(errno));
        ::close(fd);
        return;
    }
    m_fd = fd;
}

CFileLock::~CFileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the descriptor releases the lock
}
