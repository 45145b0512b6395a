#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveEditNode.h"
#include "Result.h"

class CInputFile;
class IPackInput;

// Writes an edited tree as a .VP or .VPP archive through the crash-safe writer. Untouched
// entries are copied as they are stored, by the kernel; added files are copied the same
// way or compressed block by block. Only what the target kind cannot hold is changed: a
// compressed entry going into a .VPP is decompressed.
class CArchiveSaver
{
public:
    // source: the archive the unchanged entries lie in (null for a new one); bSourceVp:
    // whether its entries may be compressed.
    CArchiveSaver(const ArchiveEditNode& root, std::shared_ptr<CInputFile> source, bool bSourceVp);

    // Every file compressed where that makes it smaller, as packing a .vpc does.
    void SetCompressAll(bool bCompress) { m_bCompressAll = bCompress; }

    Result Save(const std::string& targetPath, ArchiveFormat format, const SaveOptions& options);

private:
    struct Item
    {
        enum class Kind
        {
            Directory,
            Parent,
            File,
        } kind = Kind::File;
        const ArchiveEditNode* pNode = nullptr;
        std::string strPath; // names the entry in messages (UTF-8)
    };

    void Collect(const ArchiveEditNode& dir, const std::string& dirPath, bool bFlat);
    Result CheckFlatNames() const;
    Result SaveVp(const std::string& targetPath);
    Result SaveVpp(const std::string& targetPath);
    // The content as the archive is to hold it: an added file, or an entry's stored bytes.
    std::unique_ptr<IPackInput> OpenStored(const Item& item) const;
    bool IsStoredCompressed(const ArchiveEditNode& node) const;
    Result Progress(std::int64_t nBytes);

    const ArchiveEditNode& m_root;
    std::shared_ptr<CInputFile> m_source;
    bool m_bSourceVp;
    bool m_bCompressAll = false;
    SaveOptions m_options;
    std::vector<Item> m_items;
    std::int64_t m_nTotal = 0;
    std::int64_t m_nDone = 0;
};
