// Feeds arbitrary bytes as one LZ41-compressed entry: whatever the trailer claims, the
// content read must have the size it reports, and streaming must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "CEntryReader.h"
#include "CMemorySource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize > 0x7fffffff)
        return 0;
    CMemorySource source({pData, nSize});
    ArchiveFile file;
    file.nSize = static_cast<std::int32_t>(nSize);
    CEntryReader reader(source);
    if (!reader.Open(file, "entry"))
        return 0;
    std::vector<unsigned char> whole;
    if (!reader.ReadAll(whole))
        return 0;
    if (static_cast<std::int64_t>(whole.size()) != reader.ContentSize())
        __builtin_trap();
    std::size_t nPos = 0;
    const Result streamed = reader.Stream(
        [&](std::span<const unsigned char> piece)
        {
            for (const unsigned char c : piece)
                if (nPos >= whole.size() || whole[nPos++] != c)
                    __builtin_trap();
            return Result::Ok();
        });
    if (!streamed || nPos != whole.size())
        __builtin_trap();
    return 0;
}
