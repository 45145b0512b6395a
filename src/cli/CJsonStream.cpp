#include "CJsonStream.h"

#include <array>
#include <charconv>

namespace
{
constexpr std::size_t kFlushBytes = 64 * 1024;

// The bytes written as they are: printable ASCII but for the quote and the backslash.
constexpr auto kPlain = []
{
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

// The length of the UTF-8 sequence at text[i], 0 when it is not a valid one.
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, cp = c & 0x07;
    else
        return 0;
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
    {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}
} // namespace

CJsonStream::CJsonStream(std::ostream& out) : m_out(out)
{
    m_buffer.reserve(kFlushBytes + 4096);
}

CJsonStream::~CJsonStream()
{
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
}

void CJsonStream::FlushIfFull()
{
    if (m_buffer.size() < kFlushBytes)
        return;
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

void CJsonStream::BeforeValue()
{
    if (m_bAfterKey)
    {
        m_bAfterKey = false;
        return;
    }
    if (m_counts.empty())
        return;
    m_buffer += m_counts.back()++ > 0 ? ",\n" : "\n";
    m_buffer.append(2 * m_counts.size(), ' ');
}

CJsonStream& CJsonStream::BeginObject()
{
    BeforeValue();
    m_buffer += '{';
    m_counts.push_back(0);
    return *this;
}

CJsonStream& CJsonStream::BeginArray()
{
    BeforeValue();
    m_buffer += '[';
    m_counts.push_back(0);
    return *this;
}

void CJsonStream::Close(char c)
{
    const int nCount = m_counts.back();
    m_counts.pop_back();
    if (nCount > 0)
    {
        m_buffer += '\n';
        m_buffer.append(2 * m_counts.size(), ' ');
    }
    m_buffer += c;
    FlushIfFull();
}

CJsonStream& CJsonStream::EndObject()
{
    Close('}');
    return *this;
}

CJsonStream& CJsonStream::EndArray()
{
    Close(']');
    return *this;
}

CJsonStream& CJsonStream::Key(std::string_view key)
{
    BeforeValue();
    Escaped(key);
    m_buffer += ": ";
    m_bAfterKey = true;
    return *this;
}

CJsonStream& CJsonStream::String(std::string_view text)
{
    BeforeValue();
    Escaped(text);
    FlushIfFull();
    return *this;
}

CJsonStream& CJsonStream::StringParts(std::initializer_list<std::string_view> parts)
{
    BeforeValue();
    m_buffer += '"';
    for (const std::string_view part : parts)
        EscapedPart(part);
    m_buffer += '"';
    FlushIfFull();
    return *this;
}

CJsonStream& CJsonStream::Number(std::int64_t n)
{
    BeforeValue();
    char digits[24];
    const auto [pEnd, ec] = std::to_chars(digits, digits + sizeof digits, n);
    m_buffer.append(digits, pEnd);
    return *this;
}

CJsonStream& CJsonStream::Bool(bool b)
{
    BeforeValue();
    m_buffer += b ? "true" : "false";
    return *this;
}

CJsonStream& CJsonStream::Null()
{
    BeforeValue();
    m_buffer += "null";
    return *this;
}

void CJsonStream::Finish()
{
    m_buffer += '\n';
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

void CJsonStream::Escaped(std::string_view text)
{
    m_buffer += '"';
    EscapedPart(text);
    m_buffer += '"';
}

void CJsonStream::EscapedPart(std::string_view text)
{
    static const char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < text.size();)
    {
        // Plain characters go in runs.
        std::size_t nPlain = i;
        while (nPlain < text.size() && kPlain[static_cast<unsigned char>(text[nPlain])])
            ++nPlain;
        if (nPlain > i)
        {
            m_buffer.append(text.substr(i, nPlain - i));
            i = nPlain;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
        {
            const std::size_t n = Utf8Length(text, i);
            if (n == 0)
            {
                m_buffer += "\xEF\xBF\xBD";
                ++i;
            }
            else
            {
                m_buffer.append(text.substr(i, n));
                i += n;
            }
            continue;
        }
        switch (c)
        {
        case '"':
            m_buffer += "\\\"";
            break;
        case '\\':
            m_buffer += "\\\\";
            break;
        case '\b':
            m_buffer += "\\b";
            break;
        case '\f':
            m_buffer += "\\f";
            break;
        case '\n':
            m_buffer += "\\n";
            break;
        case '\r':
            m_buffer += "\\r";
            break;
        case '\t':
            m_buffer += "\\t";
            break;
        default:
            if (c < 0x20)
            {
                m_buffer += "\\u00";
                m_buffer += kHex[c >> 4];
                m_buffer += kHex[c & 15];
            }
            else
                m_buffer += static_cast<char>(c);
        }
        ++i;
    }
}
