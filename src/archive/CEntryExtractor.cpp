#include "CEntryExtractor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "FileIo.h"
#include "IByteSource.h"
#include "TextEncoding.h"

CEntryExtractor::CEntryExtractor(const CORBISTAVDoc& doc, IByteSource& archive,
                                 CDestinationDir destination, Layout layout)
    : m_doc(doc), m_archive(archive), m_destination(std::move(destination)), m_layout(layout),
      m_reader(archive, CEntryReader::ModeFor(doc, false))
{
}

CEntryExtractor::CEntryExtractor(const CORBISTAVDoc& doc, IByteSource& archive,
                                 CDestinationDir destination, bool bKeepDirs)
    : CEntryExtractor(doc, archive, std::move(destination),
                      bKeepDirs ? Layout::CreateDirectories : Layout::Flat)
{
}

void CEntryExtractor::SetRaw(bool bRaw)
{
    m_reader.SetMode(CEntryReader::ModeFor(m_doc, bRaw));
}

void CEntryExtractor::SetWrittenHandler(std::function<void(std::int64_t)> handler)
{
    m_onWritten = std::move(handler);
}

bool CEntryExtractor::IsSafeName(std::string_view rawName)
{
    if (rawName.empty() || rawName == "." || rawName == "..")
        return false;
    return rawName.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string CEntryExtractor::ArchivePathOf(const CORBISTAVDoc& doc, int nFile)
{
    const ArchiveFile& file = doc.m_files[nFile];
    const std::string dir = doc.m_nArchiveKind == ARCHIVE_KIND_VP ? doc.GetDirPath(file.nDir) : "";
    return Cp1252ToUtf8(dir + "\\" + file.strName);
}

Result CEntryExtractor::DirectoryFor(int nDir, const CDestinationDir*& pDir)
{
    if (m_layout == Layout::Flat || nDir <= 0 || m_doc.m_nArchiveKind != ARCHIVE_KIND_VP)
    {
        pDir = &m_destination;
        return Result::Ok();
    }
    if (auto it = m_subdirs.find(nDir); it != m_subdirs.end())
    {
        pDir = &it->second;
        return Result::Ok();
    }
    const ArchiveDir& dir = m_doc.m_dirs[nDir];
    if (!IsSafeName(dir.strName))
        return Result::Fail(Cp1252ToUtf8(m_doc.GetDirPath(nDir)) +
                            ": refused: the directory name cannot be used on disk");
    const CDestinationDir* pParent = nullptr;
    if (Result r = DirectoryFor(dir.nParent, pParent); !r)
        return r;
    CDestinationDir subdir;
    const std::string diskName = Cp1252ToUtf8(dir.strName);
    if (Result r = m_layout == Layout::CreateDirectories
                       ? pParent->OpenSubdir(diskName, subdir)
                       : pParent->OpenExistingSubdir(diskName, subdir);
        !r)
        return r;
    pDir = &(m_subdirs[nDir] = std::move(subdir));
    return Result::Ok();
}

int CEntryExtractor::KernelCopySource()
{
    if (m_pArchiveFd)
        return *m_pArchiveFd;
    int fd = -1;
    if (const auto* pFile = dynamic_cast<const CInputFile*>(&m_archive))
    {
        fd = ::open(pFile->GetFilePath().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat st = {};
        // Another file now has the name: its bytes are not the entries'.
        if (fd >= 0 && (::fstat(fd, &st) != 0 || st.st_size != m_archive.Size()))
        {
            ::close(fd);
            fd = -1;
        }
    }
    m_pArchiveFd = std::shared_ptr<int>(new int(fd),
                                        [](int* p)
                                        {
                                            if (*p >= 0)
                                                ::close(*p);
                                            delete p;
                                        });
    return fd;
}

Result CEntryExtractor::WriteStored(const ArchiveFile& file, int fd, const std::string& target)
{
    return CopyBytesInPieces(KernelCopySource(), file.nOffset, fd, file.nSize, target, target,
                             [this](std::int64_t nBytes)
                             {
                                 if (m_onWritten)
                                     m_onWritten(nBytes);
                                 return Result::Ok();
                             });
}

Result CEntryExtractor::MakeDirectory(int nDir)
{
    const CDestinationDir* pDir = nullptr;
    return DirectoryFor(nDir, pDir);
}

Result CEntryExtractor::Extract(int nFile, std::string* pWrittenPath)
{
    const ArchiveFile& file = m_doc.m_files[nFile];
    const std::string label = ArchivePathOf(m_doc, nFile);
    if (!IsSafeName(file.strName))
        return Result::Fail(label + ": refused: the file name cannot be used on disk");
    // A damaged entry is refused before its directory or its file is made.
    if (Result r = m_reader.Open(file, label); !r)
        return r;

    const CDestinationDir* pDir = nullptr;
    if (Result r = DirectoryFor(file.nDir, pDir); !r)
        return r;

    const std::string diskName = Cp1252ToUtf8(file.strName);
    const std::string target = pDir->PathOf(diskName);
    Result result = pDir->WriteFileAtomically(
        diskName,
        [&](int fd) -> Result
        {
            Result written =
                !m_reader.IsCompressed() && KernelCopySource() >= 0
                    ? WriteStored(file, fd, target)
                    : m_reader.Stream(
                [&](std::span<const unsigned char> piece) -> Result
                {
                    if (!WriteAll(fd, std::string_view(reinterpret_cast<const char*>(piece.data()),
                                                       piece.size())))
                        return Result::Fail(target + ": " + std::strerror(errno));
                    if (m_onWritten)
                        m_onWritten(static_cast<std::int64_t>(piece.size()));
                    return Result::Ok();
                });
            if (written && m_bRestoreTimes && file.tTime != 0)
            {
                const timespec times[2] = {{0, UTIME_OMIT}, {file.tTime, 0}};
                ::futimens(fd, times);
            }
            return written;
        });
    if (result && pWrittenPath)
        *pWrittenPath = target;
    return result;
}
