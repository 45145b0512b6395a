// Writes the archives the benchmarks read (full.vp, full.vpp) into a directory,
// for measurements of whole commands.
#include <iostream>

#include "FullArchives.h"

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: orbistav_make_full_archives DIR\n";
        return 2;
    }
    MakeFullVp().WriteTo(std::string(argv[1]) + "/full.vp");
    MakeFullVpp().WriteTo(std::string(argv[1]) + "/full.vpp");
    return 0;
}
