#include "FileIo.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        if (errno != ENOENT && errno != ENOTDIR)
            contents.result = Result::Fail(Describe("cannot open", path, errno));
        return contents;
    }
    struct stat st = {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
    {
        ::close(fd);
        contents.result = Result::Fail("cannot read " + path + ": it is a directory");
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

int CreateTempFileBeside(const std::string& target, std::string& tempPath)
{
    static std::atomic<unsigned> s_nSerial{0};
    const std::filesystem::path targetPath(target);
    std::string dir = targetPath.parent_path().string();
    if (dir.empty())
        dir = ".";
    int fd = -1;
    // A name left by a process that died with our pid and serial is stepped over.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt)
    {
        tempPath = dir + "/." + targetPath.filename().string() + ".tmp-" +
                   std::to_string(::getpid()) + "-" + std::to_string(++s_nSerial);
        fd = ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    return fd;
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string target = ResolveLink(path);
    std::string dir = std::filesystem::path(target).parent_path().string();
    if (dir.empty())
        dir = ".";
    std::string temp;
    int fd = CreateTempFileBeside(target, temp);
    if (fd < 0)
        return Result::Fail(Describe("cannot create", temp, errno));

    // Keep the permissions that someone gave the file being replaced.
    struct stat old = {};
    if (::stat(target.c_str(), &old) == 0)
        (void)::fchmod(fd, old.st_mode & 07777);

    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0)
    {
        int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return Result::Fail(Describe("cannot write", temp, err));
    }
    if (::close(fd) != 0)
    {
        int err = errno;
        ::unlink(temp.c_str());
        return Result::Fail(Describe("cannot write", temp, err));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0)
    {
        int err = errno;
        ::unlink(temp.c_str());
        return Result::Fail(Describe("cannot replace", target, err));
    }
    // The rename itself must reach the disk, or a crash could bring the old file back.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0)
    {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return Result::Ok();
}
