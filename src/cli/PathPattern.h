#pragma once

#include <string>
#include <string_view>

// An archive path pattern as typed by a user: "*" and "?" wildcards, compared
// without regard to ASCII case. "/" counts as "\". A pattern with a separator that starts
// with neither "\" nor "*" is taken from the root ("data\maps\*" is "\data\maps\*"); one
// without a separator names a file in any directory, as the games find their files
// ("ships.tbl" is "\data\tables\ships.tbl"), and one that starts with "*" still matches
// along the whole path as well ("*tables*").
class PathPattern
{
public:
    explicit PathPattern(std::string_view pattern);
    bool Matches(std::string_view archivePath) const;
    const std::string& Text() const { return m_strOriginal; }

private:
    std::string m_strOriginal;
    std::string m_strPattern; // normalised, lower case
    bool m_bBareName = false;
};
