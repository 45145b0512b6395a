#include "CVpWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ByteAppend.h"
#include "FileIo.h"
#include "VpFormat.h"

namespace
{
std::string TooLarge()
{
    return "the archive would pass " + std::to_string(VP_MAX_ARCHIVE_SIZE) +
           " bytes, the most its signed 32-bit offsets can address";
}
} // namespace

Result CVpWriter::Failed(int nError) const
{
    return Result::Fail(m_strTarget + ": " + std::strerror(nError));
}

Result CVpWriter::Create(const std::string& targetPath, std::int64_t nEntryCount)
{
    m_file.Discard();
    m_strTarget = targetPath;
    m_nEntryCount = nEntryCount;
    m_directory.clear();
    if (static_cast<std::int64_t>(VP_HEADER_SIZE) + nEntryCount * VP_ENTRY_SIZE >
        VP_MAX_ARCHIVE_SIZE)
        return Result::Fail(m_strTarget + ": " + TooLarge());
    // An archive the user made read-only is not replaced behind their back.
    struct stat st = {};
    if (::stat(targetPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(targetPath.c_str(), W_OK) != 0)
        return Failed(EACCES);

    if (Result r = m_file.Create(targetPath, CAtomicFile::Sync::BeforeNaming); !r)
        return r;
    m_nPosition = VP_HEADER_SIZE;
    return Rewind(m_nPosition);
}

Result CVpWriter::Fits(std::int64_t nMore) const
{
    if (m_nPosition + nMore + m_nEntryCount * static_cast<std::int64_t>(VP_ENTRY_SIZE) >
        VP_MAX_ARCHIVE_SIZE)
        return Result::Fail(m_strTarget + ": " + TooLarge());
    return Result::Ok();
}

Result CVpWriter::Write(std::span<const unsigned char> bytes)
{
    if (Result r = Fits(static_cast<std::int64_t>(bytes.size())); !r)
        return r;
    return WriteRaw(bytes);
}

Result CVpWriter::CopyFrom(int inFd, std::int64_t nOffset, std::int64_t nSize,
                           const std::string& sourceLabel,
                           const std::function<Result(std::int64_t nBytes)>& onPiece)
{
    if (Result r = Fits(nSize); !r)
        return r;
    return CopyBytesInPieces(inFd, nOffset, m_file.Fd(), nSize, sourceLabel, m_strTarget,
                             [&](std::int64_t nBytes)
                             {
                                 m_nPosition += nBytes;
                                 m_file.WrittenUpTo(m_nPosition);
                                 return onPiece ? onPiece(nBytes) : Result::Ok();
                             });
}

Result CVpWriter::WriteRaw(std::span<const unsigned char> bytes)
{
    if (!WriteAll(m_file.Fd(),
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
        return Failed(errno);
    m_nPosition += static_cast<std::int64_t>(bytes.size());
    m_file.WrittenUpTo(m_nPosition);
    return Result::Ok();
}

Result CVpWriter::Rewind(std::int64_t nPosition)
{
    if (::lseek(m_file.Fd(), nPosition, SEEK_SET) < 0)
        return Failed(errno);
    m_nPosition = nPosition;
    return Result::Ok();
}

void CVpWriter::AddEntry(std::int64_t nOffset, std::int64_t nSize, const std::string& name,
                         std::int32_t tTime)
{
    AppendInt32(m_directory, nOffset);
    AppendInt32(m_directory, nSize);
    for (std::size_t i = 0; i < VP_NAME_SIZE; ++i)
        m_directory.push_back(i < name.size() ? static_cast<unsigned char>(name[i]) : 0);
    AppendInt32(m_directory, tTime);
}

Result CVpWriter::Commit()
{
    const std::int64_t nDirectoryOffset = m_nPosition;
    const std::int64_t nEntries = static_cast<std::int64_t>(m_directory.size() / VP_ENTRY_SIZE);
    if (nDirectoryOffset + static_cast<std::int64_t>(m_directory.size()) > VP_MAX_ARCHIVE_SIZE)
        return Result::Fail(m_strTarget + ": " + TooLarge());
    if (Result r = WriteRaw(m_directory); !r)
        return r;
    // An entry written again shorter leaves old bytes behind the directory.
    if (::ftruncate(m_file.Fd(), m_nPosition) != 0)
        return Failed(errno);
    std::vector<unsigned char> header(VP_SIGNATURE, VP_SIGNATURE + 4);
    AppendInt32(header, VP_VERSION);
    AppendInt32(header, nDirectoryOffset);
    AppendInt32(header, nEntries);
    if (Result r = Rewind(0); !r)
        return r;
    if (Result r = WriteRaw(header); !r)
        return r;
    return m_file.Commit();
}
