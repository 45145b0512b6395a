#pragma once

#include <string>
#include <string_view>

// Whether text matches a wildcard pattern whole: * any run, ? any one character. The pattern
// is folded already; fold(c) folds each character of text the same way. One backtrack point:
// linear in practice and never exponential, whatever the pattern.
template <class Fold>
bool MatchesWildcard(std::string_view pattern, std::string_view text, Fold fold)
{
    std::size_t p = 0, s = 0, star = std::string_view::npos, mark = 0;
    while (s < text.size())
    {
        if (p < pattern.size() &&
            (pattern[p] == '?' ||
             static_cast<unsigned char>(pattern[p]) == static_cast<unsigned char>(fold(text[s]))))
        {
            ++p;
            ++s;
        }
        else if (p < pattern.size() && pattern[p] == '*')
        {
            star = p++;
            mark = s;
        }
        else if (star != std::string_view::npos)
        {
            p = star + 1;
            s = ++mark;
        }
        else
            return false;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
