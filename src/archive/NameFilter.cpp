#include "NameFilter.h"

#include "WildcardMatch.h"

namespace
{
unsigned char Fold(char ch)
{
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 'A' && b <= 'Z')
        return static_cast<unsigned char>(b + 0x20);
    // Windows-1252 capitals: À..Þ but the multiplication sign, and Š Œ Ž Ÿ.
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
        return static_cast<unsigned char>(b + 0x20);
    switch (b)
    {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<unsigned char>(b + 0x10);
    case 0x9F:
        return 0xFF;
    default:
        return b;
    }
}

bool Contains(std::string_view name, const std::string& folded)
{
    if (folded.size() > name.size())
        return false;
    for (std::size_t start = 0; start + folded.size() <= name.size(); ++start)
    {
        std::size_t i = 0;
        while (i < folded.size() && Fold(name[start + i]) == static_cast<unsigned char>(folded[i]))
            ++i;
        if (i == folded.size())
            return true;
    }
    return false;
}

} // namespace

NameFilter::NameFilter(std::string_view text)
{
    for (const char ch : text)
    {
        m_strText += static_cast<char>(Fold(ch));
        m_bWildcard = m_bWildcard || ch == '*' || ch == '?';
    }
}

bool NameFilter::Matches(std::string_view name) const
{
    if (m_strText.empty())
        return true;
    return m_bWildcard ? MatchesWildcard(m_strText, name, Fold) : Contains(name, m_strText);
}
