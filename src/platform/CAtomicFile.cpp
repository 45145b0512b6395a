#include "CAtomicFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{
constexpr char TEMP_PREFIX[] = ".orbistav-";
constexpr char TEMP_SUFFIX[] = ".tmp";

// Named temporaries the signal handler removes. A slot is claimed (1) while its path is
// written and only read by the handler once ready (2).
struct PendingSlot
{
    std::atomic<int> nState{0};
    char path[PATH_MAX];
};
constexpr int PENDING_SLOTS = 32;
PendingSlot g_pending[PENDING_SLOTS];

constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[3];
std::mutex g_signalMutex;

extern "C" void OnFatalSignal(int nSignal, siginfo_t* pInfo, void* pContext)
{
    const int nSaved = errno;
    for (PendingSlot& slot : g_pending)
        if (slot.nState.load() == 2)
            ::unlink(slot.path);
    for (int i = 0; i < 3; ++i)
    {
        if (CLEANUP_SIGNALS[i] != nSignal)
            continue;
        const struct sigaction& previous = g_previous[i];
        // A handler the program set (a command that stops cleanly) goes on as before.
        if ((previous.sa_flags & SA_SIGINFO) != 0)
        {
            previous.sa_sigaction(nSignal, pInfo, pContext);
            break;
        }
        if (previous.sa_handler == SIG_IGN)
            break;
        if (previous.sa_handler != SIG_DFL)
        {
            previous.sa_handler(nSignal);
            break;
        }
        ::signal(nSignal, SIG_DFL);
        ::raise(nSignal);
    }
    errno = nSaved;
}

// Put in front of whatever handles the signals now, again if someone replaced it since.
void HookSignals()
{
    std::lock_guard lock(g_signalMutex);
    for (int i = 0; i < 3; ++i)
    {
        struct sigaction current = {};
        if (::sigaction(CLEANUP_SIGNALS[i], nullptr, &current) != 0)
            continue;
        if ((current.sa_flags & SA_SIGINFO) != 0 && current.sa_sigaction == OnFatalSignal)
            continue;
        g_previous[i] = current;
        struct sigaction action = {};
        action.sa_sigaction = OnFatalSignal;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        ::sigaction(CLEANUP_SIGNALS[i], &action, nullptr);
    }
}

int ClaimSlot(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    HookSignals();
    for (int i = 0; i < PENDING_SLOTS; ++i)
    {
        int nFree = 0;
        if (!g_pending[i].nState.compare_exchange_strong(nFree, 1))
            continue;
        std::memcpy(g_pending[i].path, path.c_str(), path.size() + 1);
        g_pending[i].nState.store(2);
        return i;
    }
    return -1;
}

void ReleaseSlot(int& nSlot)
{
    if (nSlot >= 0)
        g_pending[nSlot].nState.store(0);
    nSlot = -1;
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// ".orbistav-<pid>-<serial>-<name>.tmp", the name cut so that the whole fits NAME_MAX.
std::string TemporaryName(const std::string& name)
{
    static std::atomic<unsigned> s_nSerial{0};
    std::string head =
        TEMP_PREFIX + std::to_string(::getpid()) + "-" + std::to_string(++s_nSerial) + "-";
    const std::size_t nRoom = NAME_MAX - head.size() - (sizeof TEMP_SUFFIX - 1);
    return head + name.substr(0, nRoom) + TEMP_SUFFIX;
}

// Temporaries of processes that no longer exist, left by a kill that no handler sees.
// They come from replacing a file, or from file systems without unnamed files, so only
// those writes look: extracting many new files reads no directory.
void RemoveStaleTemporaries(int dirFd)
{
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* pDir = ::fdopendir(fd);
    if (!pDir)
    {
        ::close(fd);
        return;
    }
    const std::size_t nPrefix = sizeof TEMP_PREFIX - 1;
    while (const dirent* pEntry = ::readdir(pDir))
    {
        const std::string name = pEntry->d_name;
        if (name.compare(0, nPrefix, TEMP_PREFIX) != 0 || name.size() < nPrefix + 4 ||
            name.compare(name.size() - 4, 4, TEMP_SUFFIX) != 0)
            continue;
        const std::size_t nDash = name.find('-', nPrefix);
        if (nDash == std::string::npos || nDash == nPrefix)
            continue;
        const std::string pidText = name.substr(nPrefix, nDash - nPrefix);
        if (pidText.find_first_not_of("0123456789") != std::string::npos || pidText.size() > 9)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(pidText));
        if (pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlinkat(dirFd, name.c_str(), 0);
    }
    ::closedir(pDir);
}

bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}
} // namespace

CAtomicFile::~CAtomicFile()
{
    Discard();
}

Result CAtomicFile::Failed(int nError) const
{
    if (nError == EISDIR)
        return Result::Fail(m_strTarget + ": a directory of that name exists");
    return Result::Fail(m_strTarget + ": " + std::strerror(nError));
}

Result CAtomicFile::Create(const std::string& targetPath, Sync sync)
{
    Discard();
    const std::size_t nSlash = targetPath.find_last_of('/');
    const std::string dir = nSlash == std::string::npos ? "." : targetPath.substr(0, nSlash + 1);
    const std::string name = nSlash == std::string::npos ? targetPath : targetPath.substr(nSlash + 1);
    m_strTarget = targetPath;
    if (!IsPlainName(name))
        return Result::Fail(targetPath + ": not a file name");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return Failed(errno);
    Result result = CreateAt(dirFd, nSlash == std::string::npos ? "" : dir, name, sync);
    m_strTarget = targetPath;
    if (!result)
    {
        ::close(dirFd);
        return result;
    }
    m_bOwnDirFd = true;
    return result;
}

Result CAtomicFile::CreateAt(int dirFd, const std::string& dirPath, const std::string& name,
                             Sync sync)
{
    Discard();
    m_strTarget = JoinPath(dirPath, name);
    if (!IsPlainName(name))
        return Result::Fail(m_strTarget + ": not a file name");
    m_dirFd = dirFd;
    m_bOwnDirFd = false;
    m_sync = sync;
    m_strName = name;
    struct stat st = {};
    const bool bReplacing = ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (bReplacing)
        RemoveStaleTemporaries(dirFd);

    m_fd = ::openat(dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    m_bUnnamed = m_fd >= 0;
    if (m_bUnnamed)
        return Result::Ok();
    // Older kernels and some file systems (NFS, FUSE) have no unnamed files.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT)
        return Failed(errno);
    if (!bReplacing)
        RemoveStaleTemporaries(dirFd);
    for (int nAttempt = 0; nAttempt < 100 && m_fd < 0; ++nAttempt)
    {
        m_strTempName = TemporaryName(name);
        m_nSlot = ClaimSlot(JoinPath(dirPath.empty() ? "." : dirPath, m_strTempName));
        m_fd = ::openat(dirFd, m_strTempName.c_str(),
                        O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (m_fd >= 0)
            break;
        const int nError = errno;
        ReleaseSlot(m_nSlot);
        if (nError != EEXIST)
        {
            m_strTempName.clear();
            return Failed(nError);
        }
    }
    if (m_fd < 0)
    {
        m_strTempName.clear();
        return Result::Fail(m_strTarget + ": no temporary file could be made beside it");
    }
    return Result::Ok();
}

void CAtomicFile::WrittenUpTo(std::int64_t nEnd)
{
    // Steps of a few megabytes keep the disk busy while the next step is copied.
    constexpr std::int64_t STEP = 8 * 1024 * 1024;
    if (m_fd < 0 || nEnd - m_nStarted < STEP)
        return;
    if (m_nStarted > m_nSettled)
    {
        (void)::sync_file_range(m_fd, m_nSettled, m_nStarted - m_nSettled,
                                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                    SYNC_FILE_RANGE_WAIT_AFTER);
        (void)::posix_fadvise(m_fd, m_nSettled, m_nStarted - m_nSettled, POSIX_FADV_DONTNEED);
        m_nSettled = m_nStarted;
    }
    (void)::sync_file_range(m_fd, m_nStarted, nEnd - m_nStarted, SYNC_FILE_RANGE_WRITE);
    m_nStarted = nEnd;
}

void CAtomicFile::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_strTempName.empty())
        ::unlinkat(m_dirFd, m_strTempName.c_str(), 0);
    m_strTempName.clear();
    ReleaseSlot(m_nSlot);
    if (m_bOwnDirFd && m_dirFd >= 0)
        ::close(m_dirFd);
    m_dirFd = -1;
    m_bOwnDirFd = false;
    m_nStarted = 0;
    m_nSettled = 0;
}

void CAtomicFile::SyncDirectory() const
{
    (void)::fsync(m_dirFd);
}

Result CAtomicFile::NameUnnamed()
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    if (::linkat(AT_FDCWD, self.c_str(), m_dirFd, m_strName.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return Result::Ok();
    if (errno != EEXIST)
        return Failed(errno);
    // linkat never replaces: the file gets a passing name and is renamed over the old one.
    // The name lives for two system calls, guarded by the signal handler meanwhile.
    for (int nAttempt = 0; nAttempt < 100; ++nAttempt)
    {
        m_strTempName = TemporaryName(m_strName);
        const std::size_t nSlash = m_strTarget.find_last_of('/');
        m_nSlot = ClaimSlot(JoinPath(nSlash == std::string::npos ? "." : m_strTarget.substr(0, nSlash),
                                     m_strTempName));
        if (::linkat(AT_FDCWD, self.c_str(), m_dirFd, m_strTempName.c_str(), AT_SYMLINK_FOLLOW) ==
            0)
            return RenameTemporary();
        const int nError = errno;
        ReleaseSlot(m_nSlot);
        m_strTempName.clear();
        if (nError != EEXIST)
            return Failed(nError);
    }
    return Result::Fail(m_strTarget + ": no temporary name could be given to it");
}

Result CAtomicFile::RenameTemporary()
{
    if (::renameat(m_dirFd, m_strTempName.c_str(), m_dirFd, m_strName.c_str()) != 0)
    {
        const int nError = errno;
        ::unlinkat(m_dirFd, m_strTempName.c_str(), 0);
        m_strTempName.clear();
        ReleaseSlot(m_nSlot);
        return Failed(nError == ENOTEMPTY || nError == EEXIST ? EISDIR : nError);
    }
    m_strTempName.clear();
    ReleaseSlot(m_nSlot);
    return Result::Ok();
}

Result CAtomicFile::Commit()
{
    if (m_fd < 0)
        return Result::Fail(m_strTarget + ": nothing was written");
    struct stat old = {};
    const bool bReplacing =
        ::fstatat(m_dirFd, m_strName.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (bReplacing && S_ISDIR(old.st_mode))
    {
        Discard();
        return Failed(EISDIR);
    }
    if (bReplacing && S_ISREG(old.st_mode))
        (void)::fchmod(m_fd, old.st_mode & 07777);
    const bool bSync = m_sync != Sync::WhenReplacing || bReplacing;
    if (bSync && ::fsync(m_fd) != 0)
    {
        const int nError = errno;
        Discard();
        return Failed(nError);
    }
    Result result = m_bUnnamed ? NameUnnamed() : RenameTemporary();
    if (result && m_sync == Sync::Durable)
        SyncDirectory();
    Discard();
    return result;
}
