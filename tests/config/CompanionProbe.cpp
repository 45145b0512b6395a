// Stands in for the companion library in tests: every entry point appends its name and a
// line break to the file named by ORBISTAV_COMPANION_PROBE_LOG.
#include <cstdio>
#include <cstdlib>

namespace
{

void Record(const char* entry)
{
    const char* log = std::getenv("ORBISTAV_COMPANION_PROBE_LOG");
    if (!log)
        return;
    if (std::FILE* f = std::fopen(log, "a"))
    {
        std::fprintf(f, "%s\n", entry);
        std::fclose(f);
    }
}

} // namespace

extern "C" void DoAbout()
{
    Record("DoAbout");
}

extern "C" void DoVXVC()
{
    Record("DoVXVC");
}

extern "C" void DoConfigGames()
{
    Record("DoConfigGames");
}
