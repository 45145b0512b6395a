// Feeds arbitrary bytes to both archive readers and to the whole-directory reader of the
// archive tools, and walks what they built.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "VpDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto doc = std::make_unique<CORBISTAVDoc>();
    CMemorySource source(std::span<const unsigned char>(data, size));
    for (const char* name : {"fuzz.vp", "fuzz.vpp"})
    {
        doc->Serialize(source, name);
        if (doc->m_nDirCount < 1 || doc->m_nDirCount > MAX_DIRS || doc->m_nFileCount < 0 ||
            doc->m_nFileCount > MAX_FILES)
            __builtin_trap();
        std::size_t listed = 0;
        for (int d = 0; d < doc->m_nDirCount; ++d)
        {
            const ArchiveDir& dir = doc->m_dirs[d];
            listed += static_cast<std::size_t>(dir.nFiles);
            for (int c = 0; c < dir.nChildren; ++c)
                if (dir.aChildren[c] <= d || dir.aChildren[c] >= doc->m_nDirCount)
                    __builtin_trap();
            (void)doc->GetDirPath(d);
        }
        if (listed != static_cast<std::size_t>(doc->m_nFileCount))
            __builtin_trap();
        for (int f = 0; f < doc->m_nFileCount; ++f)
        {
            std::vector<unsigned char> bytes;
            const std::string label = CEntryExtractor::ArchivePathOf(*doc, f);
            if (ReadEntryContent(source, doc->m_files[f], label, bytes,
                                 CEntryReader::Mode::Stored) &&
                bytes.size() != static_cast<std::size_t>(doc->m_files[f].nSize))
                __builtin_trap();
            // Whatever a compressed entry claims, its content is bounded by its blocks.
            (void)ReadEntryContent(source, doc->m_files[f], label, bytes);
        }
    }
    VpDirectory directory;
    if (ReadVpDirectory(source, directory) &&
        VpEntryPaths(directory.aEntries).size() != directory.aEntries.size())
        __builtin_trap();
    return 0;
}
