#include "CArchiveSaver.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ArchiveFile.h"
#include "AsciiText.h"
#include "ByteAppend.h"
#include "CAtomicFile.h"
#include "CDiskFileInput.h"
#include "CEntryContentInput.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "CVpWriter.h"
#include "FileIo.h"
#include "IByteSource.h"
#include "Lz41.h"
#include "PackPlan.h"
#include "TextEncoding.h"
#include "VpFormat.h"
#include "VppFormat.h"

namespace
{
// Kernel copies go in pieces of this size, so progress moves and a cancel is seen.
constexpr std::int64_t COPY_PIECE = 16 * 1024 * 1024;

Result WriteZeros(int fd, std::int64_t nCount)
{
    static const char zeros[2048] = {};
    while (nCount > 0)
    {
        const std::int64_t n = std::min<std::int64_t>(nCount, sizeof zeros);
        if (!WriteAll(fd, std::string_view(zeros, static_cast<std::size_t>(n))))
            return Result::Fail(std::strerror(errno));
        nCount -= n;
    }
    return Result::Ok();
}
} // namespace

CArchiveSaver::CArchiveSaver(const ArchiveEditNode& root, std::shared_ptr<CInputFile> source,
                             bool bSourceVp)
    : m_root(root), m_source(std::move(source)), m_bSourceVp(bSourceVp)
{
}

void CArchiveSaver::Collect(const ArchiveEditNode& dir, const std::string& dirPath, bool bFlat)
{
    for (const ArchiveEditNode& child : dir.aChildren)
    {
        const std::string path = dirPath + "\\" + child.strName;
        if (!child.bDirectory)
        {
            m_items.push_back({Item::Kind::File, &child, Cp1252ToUtf8(path)});
            m_nTotal += child.FromDisk() ? child.nDiskSize : child.nStoredSize;
            continue;
        }
        if (!bFlat)
            m_items.push_back({Item::Kind::Directory, &child, Cp1252ToUtf8(path)});
        Collect(child, path, bFlat);
        if (!bFlat)
            m_items.push_back({Item::Kind::Parent, nullptr, {}});
    }
}

// A .VPP holds one flat list: the tree's files must keep apart there.
Result CArchiveSaver::CheckFlatNames() const
{
    std::vector<std::pair<std::string, const Item*>> names;
    for (const Item& item : m_items)
    {
        if (item.pNode->strName.size() >= VPP_NAME_SIZE)
            return Result::Fail(item.strPath + ": the name is longer than a .VPP archive holds (" +
                                std::to_string(VPP_NAME_SIZE - 1) + " bytes)");
        names.emplace_back(ToLowerAscii(item.pNode->strName), &item);
    }
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < names.size(); ++i)
        if (names[i].first == names[i - 1].first)
            return Result::Fail(names[i - 1].second->strPath + " and " + names[i].second->strPath +
                                ": a .VPP archive has no directories, and these names are one "
                                "there (case is ignored)");
    return Result::Ok();
}

Result CArchiveSaver::Progress(std::int64_t nBytes)
{
    m_nDone += nBytes;
    if (m_options.onProgress && !m_options.onProgress(m_nDone, m_nTotal))
        return Result::Fail("cancelled");
    return Result::Ok();
}

bool CArchiveSaver::IsStoredCompressed(const ArchiveEditNode& node) const
{
    if (!m_bSourceVp || node.nStoredSize < LZ41_MAGIC_BYTES)
        return false;
    unsigned char head[LZ41_MAGIC_BYTES] = {};
    return m_source->ReadAt(node.nOffset, head, sizeof head) == LZ41_MAGIC_BYTES &&
           HasLz41Magic(head);
}

Result CArchiveSaver::OpenDiskFile(const Item& item, int& fd) const
{
    const ArchiveEditNode& node = *item.pNode;
    fd = ::open(node.strDiskPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
    {
        const int nError = errno;
        if (fd >= 0)
            ::close(fd);
        return Result::Fail(node.strDiskPath + ": " + std::strerror(nError));
    }
    if (st.st_size != node.nDiskSize)
    {
        ::close(fd);
        return Result::Fail(node.strDiskPath + ": the file changed since it was added (" +
                            std::to_string(node.nDiskSize) + " bytes then, " +
                            std::to_string(st.st_size) + " now)");
    }
    return Result::Ok();
}

std::unique_ptr<IPackInput> CArchiveSaver::OpenContent(const Item& item, std::int64_t& nSize) const
{
    const ArchiveEditNode& node = *item.pNode;
    if (node.FromDisk())
    {
        nSize = node.nDiskSize;
        return std::make_unique<CDiskFileInput>(node.strDiskPath, node.nDiskSize);
    }
    nSize = node.nStoredSize;
    return std::make_unique<CEntryContentInput>(m_source, node.StoredFile(), item.strPath);
}

Result CArchiveSaver::CopyRange(int inFd, std::int64_t nOffset, std::int64_t nSize, int outFd,
                                const std::string& label)
{
    for (std::int64_t nDone = 0; nDone < nSize;)
    {
        const std::int64_t n = std::min(COPY_PIECE, nSize - nDone);
        if (!CopyBytes(inFd, nOffset + nDone, outFd, n))
            return Result::Fail(label + ": " +
                                (errno == EIO ? std::string("the bytes could not all be read")
                                              : std::string(std::strerror(errno))));
        nDone += n;
        if (Result r = Progress(n); !r)
            return r;
    }
    return Result::Ok();
}

Result CArchiveSaver::StreamContent(IPackInput& input, int outFd, std::int64_t nSize,
                                    const std::string& label)
{
    std::vector<unsigned char> buffer(1024 * 1024);
    std::int64_t nDone = 0;
    for (;;)
    {
        std::size_t nGot = 0;
        if (Result r = input.Read(buffer, nGot); !r)
            return r;
        if (nGot > 0 &&
            !WriteAll(outFd, std::string_view(reinterpret_cast<const char*>(buffer.data()), nGot)))
            return Result::Fail(label + ": " + std::strerror(errno));
        nDone += static_cast<std::int64_t>(nGot);
        if (Result r = Progress(static_cast<std::int64_t>(nGot)); !r)
            return r;
        if (nGot < buffer.size())
            break;
    }
    if (nDone != nSize)
        return Result::Fail(label + ": the content is not " + std::to_string(nSize) +
                            " bytes long as expected");
    return Result::Ok();
}

Result CArchiveSaver::Save(const std::string& targetPath, ArchiveFormat format,
                           const SaveOptions& options)
{
    m_options = options;
    m_items.clear();
    m_nTotal = 0;
    m_nDone = 0;
    Collect(m_root, "", format == ArchiveFormat::Vpp);
    // An archive the user made read-only is not replaced behind their back.
    struct stat st = {};
    if (::stat(targetPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(targetPath.c_str(), W_OK) != 0)
        return Result::Fail(targetPath + ": " + std::strerror(EACCES));
    if (format == ArchiveFormat::Vpp)
    {
        if (Result r = CheckFlatNames(); !r)
            return r;
        return SaveVpp(targetPath);
    }
    return SaveVp(targetPath);
}

Result CArchiveSaver::SaveVp(const std::string& targetPath)
{
    CVpWriter writer;
    if (Result r = writer.Create(targetPath, static_cast<std::int64_t>(m_items.size())); !r)
        return r;
    for (const Item& item : m_items)
    {
        switch (item.kind)
        {
        case Item::Kind::Directory:
            writer.AddDirectory(item.pNode->strName);
            break;
        case Item::Kind::Parent:
            writer.AddDirectory("..");
            break;
        case Item::Kind::File:
            if (Result r = WriteVpFile(writer, item); !r)
                return r;
            break;
        }
    }
    return writer.Commit();
}

Result CArchiveSaver::WriteVpFile(CVpWriter& writer, const Item& item)
{
    const ArchiveEditNode& node = *item.pNode;
    const std::int64_t nStart = writer.Position();
    const std::int64_t nContent = node.FromDisk() ? node.nDiskSize : node.nStoredSize;
    const bool bCompress =
        node.FromDisk() ? node.bCompress || (m_bCompressAll && ShouldCompress(node.strName, nContent))
                        : m_bCompressAll && ShouldCompress(node.strName, nContent) &&
                              !IsStoredCompressed(node);
    if (bCompress)
        return WriteCompressed(writer, item, nContent);
    if (node.FromDisk())
    {
        int fd = -1;
        if (Result r = OpenDiskFile(item, fd); !r)
            return r;
        Result result;
        for (std::int64_t nDone = 0; result && nDone < nContent;)
        {
            const std::int64_t n = std::min(COPY_PIECE, nContent - nDone);
            result = writer.CopyFrom(fd, nDone, n);
            nDone += n;
            if (result)
                result = Progress(n);
        }
        ::close(fd);
        if (!result)
            return result;
    }
    else
        for (std::int64_t nDone = 0; nDone < nContent;)
        {
            const std::int64_t n = std::min(COPY_PIECE, nContent - nDone);
            if (Result r = writer.CopyFrom(m_source->Fd(), node.nOffset + nDone, n); !r)
                return r;
            nDone += n;
            if (Result r = Progress(n); !r)
                return r;
        }
    writer.AddEntry(nStart, nContent, node.strName, node.tTime);
    return Result::Ok();
}

Result CArchiveSaver::WriteCompressed(CVpWriter& writer, const Item& item, std::int64_t nSize)
{
    const ArchiveEditNode& node = *item.pNode;
    const std::int64_t nStart = writer.Position();
    std::int64_t nContentSize = 0;
    std::unique_ptr<IPackInput> input = OpenContent(item, nContentSize);
    if (Result r = writer.Write(LZ41_MAGIC); !r)
        return r;
    std::vector<std::int64_t> offsets{LZ41_MAGIC_BYTES};
    std::vector<unsigned char> block(static_cast<std::size_t>(LZ41_BLOCK_SIZE));
    std::vector<unsigned char> compressed;
    std::int64_t nRead = 0;
    do
    {
        block.resize(static_cast<std::size_t>(std::min(LZ41_BLOCK_SIZE, nSize - nRead)));
        std::size_t nGot = 0;
        if (Result r = input->Read(block, nGot); !r)
            return r;
        if (nGot != block.size())
            return Result::Fail(item.strPath + ": the content is shorter than expected");
        nRead += static_cast<std::int64_t>(nGot);
        CompressLz41Block(block, compressed);
        if (Result r = writer.Write(compressed); !r)
            return r;
        offsets.push_back(writer.Position() - nStart);
        if (Result r = Progress(static_cast<std::int64_t>(nGot)); !r)
            return r;
    } while (nRead < nSize);
    if (Result r = writer.Write(Lz41Trailer(offsets, nSize, LZ41_BLOCK_SIZE)); !r)
        return r;
    std::int64_t nStored = writer.Position() - nStart;
    // Stored as it is when compressing gains nothing; an empty file keeps the layout,
    // since an entry of size 0 would read as a directory.
    if (nSize > 0 && nStored >= nSize)
    {
        if (Result r = writer.Rewind(nStart); !r)
            return r;
        input = OpenContent(item, nContentSize);
        std::vector<unsigned char> buffer(1024 * 1024);
        for (std::int64_t nDone = 0; nDone < nSize;)
        {
            std::size_t nGot = 0;
            buffer.resize(static_cast<std::size_t>(
                std::min<std::int64_t>(nSize - nDone, static_cast<std::int64_t>(1024 * 1024))));
            if (Result r = input->Read(buffer, nGot); !r)
                return r;
            if (nGot != buffer.size())
                return Result::Fail(item.strPath + ": the content is shorter than expected");
            if (Result r = writer.Write({buffer.data(), nGot}); !r)
                return r;
            nDone += static_cast<std::int64_t>(nGot);
        }
        nStored = nSize;
    }
    writer.AddEntry(nStart, nStored, node.strName, node.tTime);
    return Result::Ok();
}

Result CArchiveSaver::SaveVpp(const std::string& targetPath)
{
    const auto nCount = static_cast<std::int64_t>(m_items.size());
    const std::int64_t nDataStart =
        CORBISTAVDoc::Align2048(VPP_DIRECTORY_OFFSET + nCount * static_cast<std::int64_t>(VPP_ENTRY_SIZE));
    CAtomicFile file;
    if (Result r = file.Create(targetPath, CAtomicFile::Sync::BeforeNaming); !r)
        return r;
    const int fd = file.Fd();
    const auto failed = [&](int nError)
    { return Result::Fail(targetPath + ": " + std::strerror(nError)); };
    if (::lseek(fd, nDataStart, SEEK_SET) < 0)
        return failed(errno);
    std::vector<unsigned char> directory;
    std::int64_t nPosition = nDataStart;
    for (const Item& item : m_items)
    {
        const ArchiveEditNode& node = *item.pNode;
        std::int64_t nSize = 0;
        if (node.FromDisk())
        {
            int inFd = -1;
            if (Result r = OpenDiskFile(item, inFd); !r)
                return r;
            nSize = node.nDiskSize;
            Result result = nPosition + nSize > VP_MAX_ARCHIVE_SIZE
                                ? Result::Fail(targetPath + ": the archive would pass 2 GiB")
                                : CopyRange(inFd, 0, nSize, fd, targetPath);
            ::close(inFd);
            if (!result)
                return result;
        }
        else if (IsStoredCompressed(node))
        {
            // A packfile has no compressed entries: the content goes in as it is.
            std::int64_t nIgnored = 0;
            std::unique_ptr<IPackInput> input = OpenContent(item, nIgnored);
            CEntryReader reader(*m_source);
            if (Result r = reader.Open(node.StoredFile(), item.strPath); !r)
                return r;
            nSize = reader.ContentSize();
            if (nPosition + nSize > VP_MAX_ARCHIVE_SIZE)
                return Result::Fail(targetPath + ": the archive would pass 2 GiB");
            if (Result r = StreamContent(*input, fd, nSize, item.strPath); !r)
                return r;
        }
        else
        {
            nSize = node.nStoredSize;
            if (nPosition + nSize > VP_MAX_ARCHIVE_SIZE)
                return Result::Fail(targetPath + ": the archive would pass 2 GiB");
            if (Result r = CopyRange(m_source->Fd(), node.nOffset, nSize, fd, targetPath); !r)
                return r;
        }
        const std::int64_t nPadded = CORBISTAVDoc::Align2048(nSize);
        if (Result r = WriteZeros(fd, nPadded - nSize); !r)
            return Result::Fail(targetPath + ": " + r.Text());
        nPosition += nPadded;
        file.WrittenUpTo(nPosition);
        for (std::size_t i = 0; i < VPP_NAME_SIZE; ++i)
            directory.push_back(i < node.strName.size() ? static_cast<unsigned char>(node.strName[i])
                                                         : 0);
        AppendInt32(directory, nSize);
    }
    if (nPosition > VP_MAX_ARCHIVE_SIZE)
        return Result::Fail(targetPath + ": the archive would pass 2 GiB");

    std::vector<unsigned char> head;
    AppendInt32(head, VPP_SIGNATURE);
    AppendInt32(head, VPP_VERSION);
    AppendInt32(head, nCount);
    AppendInt32(head, nPosition);
    head.resize(static_cast<std::size_t>(VPP_DIRECTORY_OFFSET), 0);
    head.insert(head.end(), directory.begin(), directory.end());
    head.resize(static_cast<std::size_t>(nDataStart), 0);
    if (::lseek(fd, 0, SEEK_SET) < 0 ||
        !WriteAll(fd, std::string_view(reinterpret_cast<const char*>(head.data()), head.size())))
        return failed(errno);
    return file.Commit();
}
