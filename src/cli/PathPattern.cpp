#include "PathPattern.h"

#include "AsciiText.h"

namespace
{
char Fold(char c)
{
    if (c == '/')
        return '\\';
    return ToLowerAscii(c);
}

// Iterative wildcard match with one backtrack point: linear in practice and never
// exponential, whatever the pattern.
bool MatchesFolded(const std::string& pat, std::string_view path)
{
    std::size_t p = 0, s = 0, star = std::string::npos, mark = 0;
    while (s < path.size())
    {
        if (p < pat.size() && (pat[p] == '?' || pat[p] == Fold(path[s])))
        {
            ++p;
            ++s;
        }
        else if (p < pat.size() && pat[p] == '*')
        {
            star = p++;
            mark = s;
        }
        else if (star != std::string::npos)
        {
            p = star + 1;
            s = ++mark;
        }
        else
            return false;
    }
    while (p < pat.size() && pat[p] == '*')
        ++p;
    return p == pat.size();
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
        if (MatchesFolded(m_strPattern, name))
            return true;
        if (m_strPattern[0] != '*')
            return false;
    }
    return MatchesFolded(m_strPattern, path);
}
