#include "CArchiveSaver.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "ArchiveFile.h"
#include "AsciiText.h"
#include "ByteAppend.h"
#include "CAtomicFile.h"
#include "CDiskFileInput.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "CStoredRangeInput.h"
#include "FileIo.h"
#include "IByteSource.h"
#include "Lz41.h"
#include "PackPlan.h"
#include "PackWriter.h"
#include "TextEncoding.h"
#include "VpFormat.h"
#include "VppFormat.h"

namespace
{

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

std::unique_ptr<IPackInput> CArchiveSaver::OpenStored(const Item& item) const
{
    const ArchiveEditNode& node = *item.pNode;
    if (node.FromDisk())
        return std::make_unique<CDiskFileInput>(node.strDiskPath, node.nDiskSize);
    return std::make_unique<CStoredRangeInput>(m_source, node.nOffset, node.nStoredSize,
                                               item.strPath);
}

// Written by the packing pipeline: unchanged entries and stored files are copied by the
// kernel, and what is to be compressed is compressed on every core.
Result CArchiveSaver::SaveVp(const std::string& targetPath)
{
    std::vector<PackItem> items;
    items.reserve(m_items.size());
    bool bAnyCompressed = false;
    for (const Item& item : m_items)
    {
        PackItem& packed = items.emplace_back();
        if (item.kind != Item::Kind::File)
        {
            packed.kind = item.kind == Item::Kind::Directory ? PackItem::Kind::Directory
                                                             : PackItem::Kind::Parent;
            packed.strName = item.pNode ? item.pNode->strName : std::string();
            continue;
        }
        const ArchiveEditNode& node = *item.pNode;
        packed.strName = node.strName;
        packed.tTime = node.tTime;
        packed.nSize = node.FromDisk() ? node.nDiskSize : node.nStoredSize;
        packed.strLabel = item.strPath;
        const bool bAllCompressed = m_bCompressAll && ShouldCompress(node.strName, packed.nSize);
        packed.bCompress = node.FromDisk() ? node.bCompress || bAllCompressed
                                           : bAllCompressed && !IsStoredCompressed(node);
        bAnyCompressed = bAnyCompressed || packed.bCompress;
        packed.openInput = [this, &item] { return OpenStored(item); };
    }

    bool bCancelled = false;
    PackWriteOptions options;
    options.nJobs = bAnyCompressed ? static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) : 1;
    options.isCancelled = [&bCancelled] { return bCancelled; };
    options.onContentBytes = [&](std::int64_t nBytes)
    {
        if (!Progress(nBytes))
            bCancelled = true;
    };
    Result result = WriteVpArchive(items, targetPath, options);
    return !result && bCancelled ? Result::Fail("cancelled") : result;
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
    const auto progress = [this](std::int64_t nBytes) { return Progress(nBytes); };
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
            CDiskFileInput input(node.strDiskPath, node.nDiskSize);
            int inFd = -1;
            std::int64_t nOffset = 0;
            if (Result r = input.OpenRange(inFd, nOffset); !r)
                return r;
            nSize = node.nDiskSize;
            if (nPosition + nSize > VP_MAX_ARCHIVE_SIZE)
                return Result::Fail(targetPath + ": the archive would pass 2 GiB");
            if (Result r = CopyBytesInPieces(inFd, nOffset, fd, nSize, node.strDiskPath, targetPath,
                                             progress);
                !r)
                return r;
        }
        else if (IsStoredCompressed(node))
        {
            // A packfile has no compressed entries: the content goes in decompressed.
            CEntryReader reader(*m_source);
            if (Result r = reader.Open(node.StoredFile(), item.strPath); !r)
                return r;
            nSize = reader.ContentSize();
            if (nPosition + nSize > VP_MAX_ARCHIVE_SIZE)
                return Result::Fail(targetPath + ": the archive would pass 2 GiB");
            if (Result r = reader.Stream(
                    [&](std::span<const unsigned char> piece)
                    {
                        if (!WriteAll(fd,
                                      std::string_view(reinterpret_cast<const char*>(piece.data()),
                                                       piece.size())))
                            return failed(errno);
                        return Progress(static_cast<std::int64_t>(piece.size()));
                    });
                !r)
                return r;
        }
        else
        {
            nSize = node.nStoredSize;
            if (nPosition + nSize > VP_MAX_ARCHIVE_SIZE)
                return Result::Fail(targetPath + ": the archive would pass 2 GiB");
            if (Result r = CopyBytesInPieces(m_source->Fd(), node.nOffset, fd, nSize, item.strPath,
                                             targetPath, progress);
                !r)
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
