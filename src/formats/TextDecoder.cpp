#include "TextDecoder.h"

#include <algorithm>

#include "TextEncoding.h"

namespace
{
constexpr std::size_t TEXT_PROBE_SIZE = 4096;
constexpr std::size_t npos = std::string_view::npos;

template <typename Char> using Line = std::basic_string_view<Char>;

template <typename Char> bool At(Line<Char> line, std::size_t i, char ch)
{
    return i < line.size() && line[i] == static_cast<Char>(ch);
}

template <typename Char> std::size_t Find(Line<Char> line, std::size_t i, char a, char b)
{
    for (; i + 1 < line.size(); ++i)
        if (line[i] == static_cast<Char>(a) && line[i + 1] == static_cast<Char>(b))
            return i;
    return npos;
}

template <typename Char> std::size_t Find(Line<Char> line, std::size_t i, char ch)
{
    for (; i < line.size(); ++i)
        if (line[i] == static_cast<Char>(ch))
            return i;
    return npos;
}

template <typename Char> bool IsBlank(Char ch)
{
    return ch == static_cast<Char>(' ') || ch == static_cast<Char>('\t');
}

void Add(std::vector<TextSpan>& spans, std::size_t nStart, std::size_t nEnd, TextSpanKind kind)
{
    if (nEnd > nStart)
        spans.push_back({nStart, nEnd - nStart, kind});
}

// Section and field names end where a comment or a string begins.
template <typename Char> bool OpensTableCommentOrString(Line<Char> line, std::size_t i)
{
    if (line[i] == static_cast<Char>(';') || line[i] == static_cast<Char>('"'))
        return true;
    return line[i] == static_cast<Char>('/') && (At(line, i + 1, '/') || At(line, i + 1, '*'));
}

// The "#Section" or "$Field:" that opens a line; returns where the rest of the line begins.
template <typename Char>
std::size_t ColourTableHead(Line<Char> line, std::size_t i, std::vector<TextSpan>& spans)
{
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size())
        return i;
    const std::size_t nStart = i;
    const bool bSection = line[i] == static_cast<Char>('#');
    if (!bSection && line[i] != static_cast<Char>('$') && line[i] != static_cast<Char>('+'))
        return i;
    for (; i < line.size() && !OpensTableCommentOrString(line, i); ++i)
    {
        if (!bSection && line[i] == static_cast<Char>(':'))
        {
            Add(spans, nStart, i + 1, TextSpanKind::Field);
            return i + 1;
        }
    }
    // A section, or a marker without a colon ("$Main Hall", "$end_multi_text"), takes the
    // whole line.
    std::size_t nEnd = i;
    while (IsBlank(line[nEnd - 1]))
        --nEnd;
    Add(spans, nStart, nEnd, bSection ? TextSpanKind::Section : TextSpanKind::Field);
    return i;
}

template <typename Char> std::vector<TextSpan> ColourTable(Line<Char> line, int& nState)
{
    std::vector<TextSpan> spans;
    const std::size_t n = line.size();
    std::size_t i = 0;
    if (nState == TEXT_STATE_COMMENT || nState == TEXT_STATE_STRING)
    {
        const bool bComment = nState == TEXT_STATE_COMMENT;
        const std::size_t nClose = bComment ? Find(line, 0, '*', '/') : Find(line, 0, '"');
        const auto kind = bComment ? TextSpanKind::Comment : TextSpanKind::String;
        if (nClose == npos)
        {
            Add(spans, 0, n, kind);
            return spans;
        }
        i = nClose + (bComment ? 2 : 1);
        Add(spans, 0, i, kind);
    }
    nState = TEXT_STATE_NONE;
    i = ColourTableHead(line, i, spans);
    while (i < n)
    {
        if (line[i] == static_cast<Char>(';') ||
            (line[i] == static_cast<Char>('/') && At(line, i + 1, '/')))
        {
            Add(spans, i, n, TextSpanKind::Comment);
            return spans;
        }
        const bool bComment = line[i] == static_cast<Char>('/') && At(line, i + 1, '*');
        if (!bComment && line[i] != static_cast<Char>('"'))
        {
            ++i;
            continue;
        }
        const std::size_t nClose = bComment ? Find(line, i + 2, '*', '/') : Find(line, i + 1, '"');
        const auto kind = bComment ? TextSpanKind::Comment : TextSpanKind::String;
        if (nClose == npos)
        {
            Add(spans, i, n, kind);
            nState = bComment ? TEXT_STATE_COMMENT : TEXT_STATE_STRING;
            return spans;
        }
        const std::size_t nEnd = nClose + (bComment ? 2 : 1);
        Add(spans, i, nEnd, kind);
        i = nEnd;
    }
    return spans;
}

// A "..." or '...' string with backslash escapes that starts at i, to its closing quote or
// the end of the line; any other character is passed over. Returns where to go on.
template <typename Char>
std::size_t ColourQuoted(Line<Char> line, std::size_t i, std::vector<TextSpan>& spans)
{
    const Char quote = line[i];
    if (quote != static_cast<Char>('"') && quote != static_cast<Char>('\''))
        return i + 1;
    std::size_t j = i + 1;
    while (j < line.size() && line[j] != quote)
        j += line[j] == static_cast<Char>('\\') ? 2 : 1;
    const std::size_t nEnd = std::min(j + 1, line.size());
    Add(spans, i, nEnd, TextSpanKind::String);
    return nEnd;
}

template <typename Char> std::vector<TextSpan> ColourLua(Line<Char> line, int& nState)
{
    std::vector<TextSpan> spans;
    const std::size_t n = line.size();
    std::size_t i = 0;
    // A block comment and a long string both run to "]]"; levels such as [==[ are not told
    // apart.
    auto closeLong = [&](std::size_t nFrom, std::size_t nStart, TextSpanKind kind, int nOpen)
    {
        const std::size_t nClose = Find(line, nFrom, ']', ']');
        const std::size_t nEnd = nClose == npos ? n : nClose + 2;
        Add(spans, nStart, nEnd, kind);
        nState = nClose == npos ? nOpen : TEXT_STATE_NONE;
        return nEnd;
    };
    if (nState == TEXT_STATE_COMMENT)
        i = closeLong(0, 0, TextSpanKind::Comment, TEXT_STATE_COMMENT);
    else if (nState == TEXT_STATE_STRING)
        i = closeLong(0, 0, TextSpanKind::String, TEXT_STATE_STRING);
    else
        nState = TEXT_STATE_NONE;
    while (i < n)
    {
        if (line[i] == static_cast<Char>('-') && At(line, i + 1, '-'))
        {
            if (At(line, i + 2, '[') && At(line, i + 3, '['))
            {
                i = closeLong(i + 4, i, TextSpanKind::Comment, TEXT_STATE_COMMENT);
                continue;
            }
            Add(spans, i, n, TextSpanKind::Comment);
            return spans;
        }
        if (line[i] == static_cast<Char>('[') && At(line, i + 1, '['))
        {
            i = closeLong(i + 2, i, TextSpanKind::String, TEXT_STATE_STRING);
            continue;
        }
        i = ColourQuoted(line, i, spans);
    }
    return spans;
}
template <typename Char> std::vector<TextSpan> ColourCLike(Line<Char> line, int& nState)
{
    std::vector<TextSpan> spans;
    const std::size_t n = line.size();
    std::size_t i = 0;
    if (nState == TEXT_STATE_COMMENT)
    {
        const std::size_t nClose = Find(line, 0, '*', '/');
        i = nClose == npos ? n : nClose + 2;
        Add(spans, 0, i, TextSpanKind::Comment);
        if (nClose == npos)
            return spans;
    }
    nState = TEXT_STATE_NONE;
    std::size_t nFirst = i;
    while (nFirst < n && IsBlank(line[nFirst]))
        ++nFirst;
    if (At(line, nFirst, '#'))
    {
        // The directive's name, blanks after the '#' allowed ("#  define").
        std::size_t j = nFirst + 1;
        while (j < n && IsBlank(line[j]))
            ++j;
        while (j < n && ((line[j] >= static_cast<Char>('a') && line[j] <= static_cast<Char>('z')) ||
                         (line[j] >= static_cast<Char>('A') && line[j] <= static_cast<Char>('Z'))))
            ++j;
        Add(spans, nFirst, j, TextSpanKind::Section);
        i = j;
    }
    while (i < n)
    {
        if (line[i] == static_cast<Char>('/') && At(line, i + 1, '/'))
        {
            Add(spans, i, n, TextSpanKind::Comment);
            return spans;
        }
        if (line[i] == static_cast<Char>('/') && At(line, i + 1, '*'))
        {
            const std::size_t nClose = Find(line, i + 2, '*', '/');
            const std::size_t nEnd = nClose == npos ? n : nClose + 2;
            Add(spans, i, nEnd, TextSpanKind::Comment);
            if (nClose == npos)
                nState = TEXT_STATE_COMMENT;
            i = nEnd;
            continue;
        }
        i = ColourQuoted(line, i, spans);
    }
    return spans;
}

// Length of the UTF-8 sequence that starts at p (at most nLeft bytes): 0 when it is not
// valid; a valid start cut off by the end is nLeft with bCutOk, else 0.
std::size_t Utf8Sequence(const std::uint8_t* p, std::size_t nLeft, bool bCutOk)
{
    const std::uint8_t b = p[0];
    std::size_t nLength = 0;
    std::uint8_t byLow = 0x80;
    std::uint8_t byHigh = 0xBF;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        nLength = 2;
    else if (b >= 0xE0 && b <= 0xEF)
    {
        nLength = 3;
        byLow = b == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        byHigh = b == 0xED ? 0x9F : 0xBF; // no surrogates
    }
    else if (b >= 0xF0 && b <= 0xF4)
    {
        nLength = 4;
        byLow = b == 0xF0 ? 0x90 : 0x80;
        byHigh = b == 0xF4 ? 0x8F : 0xBF;
    }
    else
        return 0;
    for (std::size_t k = 1; k < nLength; ++k)
    {
        if (k == nLeft)
            return bCutOk ? nLeft : 0;
        const std::uint8_t c = p[k];
        if (c < (k == 1 ? byLow : 0x80) || c > (k == 1 ? byHigh : 0xBF))
            return 0;
    }
    return nLength;
}

bool IsValidUtf8(std::span<const std::uint8_t> bytes)
{
    for (std::size_t i = 0; i < bytes.size();)
    {
        const std::size_t n = Utf8Sequence(bytes.data() + i, bytes.size() - i, false);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}
} // namespace

TextCoding DetectTextCoding(std::span<const std::uint8_t> bytes)
{
    bool bUtf8 = true;
    bool bCp1252 = true;
    std::size_t nNextSequence = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        const std::uint8_t b = bytes[i];
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != 0x0B && b != 0x0C &&
            b != 0x1A && b != 0x1B)
            return TextCoding::NotText;
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            bCp1252 = false;
        if (b >= 0x80 && bUtf8 && i >= nNextSequence)
        {
            const std::size_t n = Utf8Sequence(bytes.data() + i, bytes.size() - i, true);
            bUtf8 = n != 0;
            nNextSequence = i + n;
        }
    }
    if (bUtf8)
        return TextCoding::Utf8;
    return bCp1252 ? TextCoding::Windows1252 : TextCoding::NotText;
}

Result DecodeText(std::span<const std::uint8_t> bytes, std::string& utf8)
{
    utf8.clear();
    const auto probe = bytes.first(std::min(bytes.size(), TEXT_PROBE_SIZE));
    if (std::find(probe.begin(), probe.end(), std::uint8_t{0}) != probe.end())
        return Result::Fail("not text (NUL bytes in its first 4 KiB)");

    std::string text;
    text.reserve(bytes.size());
    const char* const pBegin = reinterpret_cast<const char*>(bytes.data());
    const std::string_view all(pBegin, bytes.size());
    std::size_t nFrom = 0;
    for (std::size_t nCr = all.find('\r'); nCr != npos; nCr = all.find('\r', nCr + 1))
    {
        if (nCr + 1 < all.size() && all[nCr + 1] == '\n')
        {
            text.append(all, nFrom, nCr - nFrom);
            nFrom = nCr + 1;
        }
    }
    text.append(all, nFrom);
    utf8 = IsValidUtf8(bytes) ? std::move(text) : Cp1252ToUtf8(text);
    return Result::Ok();
}

std::vector<TextSpan> ColourTableLine(std::string_view line, int& nState)
{
    return ColourTable(line, nState);
}

std::vector<TextSpan> ColourTableLine(std::u16string_view line, int& nState)
{
    return ColourTable(line, nState);
}

std::vector<TextSpan> ColourLuaLine(std::string_view line, int& nState)
{
    return ColourLua(line, nState);
}

std::vector<TextSpan> ColourLuaLine(std::u16string_view line, int& nState)
{
    return ColourLua(line, nState);
}

std::vector<TextSpan> ColourCLikeLine(std::string_view line, int& nState)
{
    return ColourCLike(line, nState);
}

std::vector<TextSpan> ColourCLikeLine(std::u16string_view line, int& nState)
{
    return ColourCLike(line, nState);
}
