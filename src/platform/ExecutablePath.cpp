#include "ExecutablePath.h"

#include <mutex>
#include <utility>

#include <climits>
#include <unistd.h>

namespace
{

std::mutex s_mutex;
std::string s_strOverride;

} // namespace

std::string GetExecutablePath()
{
    {
        std::lock_guard<std::mutex> guard(s_mutex);
        if (!s_strOverride.empty())
            return s_strOverride;
    }
    char buffer[PATH_MAX + 1];
    ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(n));
}

void SetExecutablePathOverride(std::string path)
{
    std::lock_guard<std::mutex> guard(s_mutex);
    s_strOverride = std::move(path);
}
