#include "CRecentFileList.h"

#include <algorithm>

#include "RegistryAccess.h"

namespace
{
const char* const kKey = "Software\\Quillmoor\\Vantorel ORBISTAV\\Recent File List";

std::string ValueName(int n)
{
    return "File" + std::to_string(n);
}
} // namespace

void CRecentFileList::Load()
{
    m_aPaths.clear();
    for (int i = 1; i <= kSize; ++i)
    {
        const std::string path = ReadRegString(RegistryRoot::HKEY_CURRENT_USER, kKey, ValueName(i));
        if (!path.empty() && std::find(m_aPaths.begin(), m_aPaths.end(), path) == m_aPaths.end())
            m_aPaths.push_back(path);
    }
}

void CRecentFileList::Save() const
{
    for (int i = 1; i <= kSize; ++i)
    {
        const std::size_t n = static_cast<std::size_t>(i - 1);
        WriteRegString(RegistryRoot::HKEY_CURRENT_USER, kKey, ValueName(i),
                       n < m_aPaths.size() ? m_aPaths[n] : "");
    }
}

void CRecentFileList::Add(const std::string& path)
{
    Remove(path);
    m_aPaths.insert(m_aPaths.begin(), path);
    if (m_aPaths.size() > static_cast<std::size_t>(kSize))
        m_aPaths.resize(kSize);
}

void CRecentFileList::Remove(const std::string& path)
{
    m_aPaths.erase(std::remove(m_aPaths.begin(), m_aPaths.end(), path), m_aPaths.end());
}
