#pragma once

#include <string>
#include <vector>

// The recent-file list of the profile: "File1" (most recent) to "File10" under
// "Software\Quillmoor\Vantorel ORBISTAV\Recent File List" of the current user.
class CRecentFileList
{
public:
    static constexpr int kSize = 10;

    void Load();
    void Save() const;
    // Moves path to the top (adding it when new); the oldest entry falls off.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return m_aPaths; }

private:
    std::vector<std::string> m_aPaths;
};
