// Feeds arbitrary bytes as a hand-edited registry file and as a profile (INI) file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "CRegistryTree.h"
#include "IniAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Whatever was salvaged must write out as a file that reads back cleanly and unchanged.
    CRegistryTree tree;
    tree.LoadText(text, "HKEY_CURRENT_USER");
    const std::string written = tree.ToText("HKEY_CURRENT_USER");
    CRegistryTree again;
    if (!again.LoadText(written, "HKEY_CURRENT_USER") ||
        again.ToText("HKEY_CURRENT_USER") != written)
        __builtin_trap();

    static const int fd = memfd_create("ini", 0);
    if (fd >= 0 && ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size))
    {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        for (const char* section : {"Module", "Directories", "FreeSpace", ""})
            for (const char* key : {"Desc", "Kroy3", "FS2Full", ""})
                for (const int nSize : {1, 2, 8, 8191})
                    if (GetPrivateProfileStringA(section, key, "$", path, nSize).size() >=
                        static_cast<std::size_t>(nSize))
                        __builtin_trap();
    }
    return 0;
}
