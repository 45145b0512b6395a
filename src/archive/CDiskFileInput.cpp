#include "CDiskFileInput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CDiskFileInput::CDiskFileInput(std::string path, std::int64_t nSize)
    : m_strPath(std::move(path)), m_nSize(nSize)
{
}

CDiskFileInput::~CDiskFileInput()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Result CDiskFileInput::Changed() const
{
    return Result::Fail(m_strPath + ": the file changed since it was added");
}

Result CDiskFileInput::Open()
{
    if (m_fd >= 0)
        return Result::Ok();
    // Without blocking: a pipe put in the file's place since it was chosen would wait for
    // a writer forever.
    m_fd = ::open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return Result::Fail(m_strPath + ": " + std::strerror(errno));
    struct stat st = {};
    if (::fstat(m_fd, &st) != 0)
        return Result::Fail(m_strPath + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Result::Fail(m_strPath + ": refused: it is no longer a regular file");
    m_nFoundSize = st.st_size;
    return Result::Ok();
}

// The kernel copies the planned length only, so the size is checked before it does.
Result CDiskFileInput::OpenRange(int& fd, std::int64_t& nOffset)
{
    fd = -1;
    nOffset = 0;
    if (Result r = Open(); !r)
        return r;
    if (m_nFoundSize != m_nSize)
        return Result::Fail(m_strPath + ": the file changed since it was added (" +
                            std::to_string(m_nSize) + " bytes then, " +
                            std::to_string(m_nFoundSize) + " now)");
    fd = m_fd;
    return Result::Ok();
}

Result CDiskFileInput::Read(std::span<unsigned char> buffer, std::size_t& nRead)
{
    nRead = 0;
    if (Result r = Open(); !r)
        return r;
    const std::size_t nWanted =
        static_cast<std::size_t>(std::min<std::int64_t>(m_nSize - m_nDone, buffer.size()));
    while (nRead < nWanted)
    {
        const ssize_t n = ::read(m_fd, buffer.data() + nRead, nWanted - nRead);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Result::Fail(m_strPath + ": " + std::strerror(errno));
        if (n == 0)
            return Changed();
        nRead += static_cast<std::size_t>(n);
    }
    m_nDone += static_cast<std::int64_t>(nRead);
    if (m_nDone == m_nSize && nRead < buffer.size())
    {
        // The end as planned must be the file's end too.
        unsigned char extra = 0;
        if (::read(m_fd, &extra, 1) > 0)
            return Changed();
    }
    return Result::Ok();
}
