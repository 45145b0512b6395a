#include "FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CAtomicFile.h"

namespace
{

std::string Describe(const std::string& what, const std::string& path, int err)
{
    return what + " " + path + ": " + std::strerror(err);
}

std::string ResolveLink(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec))
    {
        std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
        if (!ec)
            return target.string();
    }
    return path;
}

} // namespace

bool WriteAll(int fd, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

FileContents ReadWholeFile(const std::string& path)
{
    FileContents contents;
    // Without blocking, so that a pipe in the file's place is refused instead of waited on.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
    {
        if (errno != ENOENT && errno != ENOTDIR)
            contents.result = Result::Fail(Describe("cannot open", path, errno));
        return contents;
    }
    struct stat st = {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode))
    {
        ::close(fd);
        contents.result = Result::Fail("cannot read " + path + (S_ISDIR(st.st_mode)
                                                                    ? ": it is a directory"
                                                                    : ": it is not a regular file"));
        return contents;
    }
    contents.bFound = true;
    char buffer[65536];
    for (;;)
    {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            contents.result = Result::Fail(Describe("cannot read", path, errno));
            break;
        }
        if (n == 0)
            break;
        contents.strBytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return contents;
}

bool CopyBytes(int inFd, std::int64_t nInOffset, int outFd, std::int64_t nSize)
{
    loff_t nIn = nInOffset;
    bool bKernel = true;
    while (nSize > 0 && bKernel)
    {
        const ssize_t n = ::copy_file_range(inFd, &nIn, outFd, nullptr,
                                            static_cast<std::size_t>(nSize), 0);
        if (n > 0)
        {
            nSize -= n;
            continue;
        }
        if (n == 0)
        {
            errno = EIO;
            return false;
        }
        if (errno == EINTR)
            continue;
        // Across file systems on older kernels, or where the file system cannot.
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL &&
            errno != EBADF)
            return false;
        bKernel = false;
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(nSize, 1 << 20)));
    while (nSize > 0)
    {
        const ssize_t n = ::pread(inFd, buffer.data(),
                                  static_cast<std::size_t>(std::min<std::int64_t>(
                                      nSize, static_cast<std::int64_t>(buffer.size()))),
                                  nIn);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            if (n == 0)
                errno = EIO;
            return false;
        }
        if (!WriteAll(outFd, std::string_view(buffer.data(), static_cast<std::size_t>(n))))
            return false;
        nIn += n;
        nSize -= n;
    }
    return true;
}

Result CopyBytesInPieces(int inFd, std::int64_t nInOffset, int outFd, std::int64_t nSize,
                         const std::string& sourceLabel, const std::string& targetLabel,
                         const std::function<Result(std::int64_t nBytes)>& onPiece)
{
    constexpr std::int64_t PIECE = 16 * 1024 * 1024;
    for (std::int64_t nDone = 0; nDone < nSize;)
    {
        const std::int64_t n = std::min(PIECE, nSize - nDone);
        if (!CopyBytes(inFd, nInOffset + nDone, outFd, n))
            return errno == EIO ? Result::Fail(sourceLabel + ": the bytes could not all be read")
                                : Result::Fail(targetLabel + ": " + std::strerror(errno));
        nDone += n;
        if (onPiece)
            if (Result r = onPiece(n); !r)
                return r;
    }
    return Result::Ok();
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string target = ResolveLink(path);
    CAtomicFile file;
    if (Result r = file.Create(target); !r)
        return r;
    if (!WriteAll(file.Fd(), bytes))
        return Result::Fail(Describe("cannot write", target, errno));
    if (Result r = file.Commit(); !r)
        return Result::Fail("cannot replace " + r.Text());
    return Result::Ok();
}
