#include "TextEncoding.h"

#include <cstdint>

namespace
{
// 0x80..0x9F; the five unassigned bytes map to the C1 controls, as Windows does.
constexpr std::uint16_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80)
        out += static_cast<char>(cp);
    else if (cp < 0x800)
    {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text)
    {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            AppendUtf8(out, CP1252_HIGH[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::optional<std::string> ToCp1252(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char32_t cp : text)
    {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        {
            out += static_cast<char>(cp);
            continue;
        }
        int nByte = -1;
        for (int i = 0; i < 32 && nByte < 0; ++i)
            if (CP1252_HIGH[i] == cp)
                nByte = 0x80 + i;
        if (nByte < 0)
            return std::nullopt;
        out += static_cast<char>(nByte);
    }
    return out;
}

bool Utf8ToCp1252(std::string_view text, std::string& out)
{
    out.clear();
    std::u32string codePoints;
    for (std::size_t i = 0; i < text.size();)
    {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t nLength = b < 0x80             ? 1
                                    : (b & 0xE0) == 0xC0 ? 2
                                    : (b & 0xF0) == 0xE0 ? 3
                                                         : 0;
        // Four-byte characters lie outside Windows-1252 anyway.
        if (nLength == 0 || i + nLength > text.size())
            return false;
        char32_t cp = nLength == 1 ? b : b & (nLength == 2 ? 0x1Fu : 0x0Fu);
        for (std::size_t k = 1; k < nLength; ++k)
        {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms would let two spellings stand for one name.
        if ((nLength == 2 && cp < 0x80) || (nLength == 3 && cp < 0x800))
            return false;
        codePoints += cp;
        i += nLength;
    }
    std::optional<std::string> bytes = ToCp1252(codePoints);
    if (!bytes)
        return false;
    out = std::move(*bytes);
    return true;
}
