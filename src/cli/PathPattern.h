#pragma once

#include <string>
#include <string_view>

// An archive path pattern as typed by a user: "*" and "?" wildcards, compared
// without regard to ASCII case. "/" counts as "\", and a pattern that starts with
// neither "\" nor "*" is taken from the root ("data\maps\*" is "\data\maps\*").
class PathPattern
{
public:
    explicit PathPattern(std::string_view pattern);
    bool Matches(std::string_view archivePath) const;
    const std::string& Text() const { return m_strOriginal; }

private:
    std::string m_strOriginal;
    std::string m_strPattern; // normalised, lower case
};
