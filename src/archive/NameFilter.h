#pragma once

#include <string>
#include <string_view>

// Which names the file list's filter lets through: those that contain the text, or, when it
// holds * or ?, those that match it whole as a wildcard pattern. Letters match without regard
// to case, the accented ones of Windows-1252 too. An empty filter lets every name through.
class NameFilter
{
public:
    NameFilter() = default;
    // text is Windows-1252, as the names are.
    explicit NameFilter(std::string_view text);

    bool IsEmpty() const { return m_strText.empty(); }
    bool Matches(std::string_view name) const;

private:
    std::string m_strText; // folded
    bool m_bWildcard = false;
};
