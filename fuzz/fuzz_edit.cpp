// Opens arbitrary bytes for editing, as a .VP and as a .VPP, and reads back every file the
// edit list would save: the editor reads archives with its own directory walk.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "CArchiveEditList.h"

namespace
{
std::string ScratchPath(const char* extension)
{
    return "/dev/shm/orbistav-fuzz-edit-" + std::to_string(::getpid()) + extension;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const char* extension : {".vp", ".vpp"})
    {
        const std::string path = ScratchPath(extension);
        if (std::FILE* file = std::fopen(path.c_str(), "wb"))
        {
            if (size > 0)
                std::fwrite(data, 1, size, file);
            std::fclose(file);
        }
        CArchiveEditList edits;
        if (edits.Open(path))
        {
            (void)edits.Directories();
            for (const EditRow& row : edits.Rows())
            {
                std::vector<unsigned char> content;
                (void)edits.ReadContent(row.Path(), content);
            }
        }
        std::remove(path.c_str());
    }
    return 0;
}
