#include "PathPattern.h"

#include "AsciiText.h"
#include "WildcardMatch.h"

namespace
{
char Fold(char c)
{
    if (c == '/')
        return '\\';
    return ToLowerAscii(c);
}

} // namespace

PathPattern::PathPattern(std::string_view pattern) : m_strOriginal(pattern)
{
    for (const char c : pattern)
        m_strPattern += Fold(c);
    m_bBareName = !m_strPattern.empty() && m_strPattern.find('\\') == std::string::npos;
    if (!m_bBareName &&
        (m_strPattern.empty() || (m_strPattern[0] != '\\' && m_strPattern[0] != '*')))
        m_strPattern.insert(0, 1, '\\');
}

bool PathPattern::Matches(std::string_view path) const
{
    if (m_bBareName)
    {
        const std::size_t slash = path.find_last_of("\\/");
        const std::string_view name =
            slash == std::string_view::npos ? path : path.substr(slash + 1);
        if (MatchesWildcard(m_strPattern, name, Fold))
            return true;
        if (m_strPattern[0] != '*')
            return false;
    }
    return MatchesWildcard(m_strPattern, path, Fold);
}
