#include "CDiskFileInput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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
    return Result::Fail(m_strPath + ": the file changed while it was being packed");
}

Result CDiskFileInput::Read(std::span<unsigned char> buffer, std::size_t& nRead)
{
    nRead = 0;
    if (m_fd < 0)
    {
        m_fd = ::open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return Result::Fail(m_strPath + ": " + std::strerror(errno));
    }
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
